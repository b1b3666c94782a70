// What the diagnostics cost the keystroke path: the controller notes a stage at every marked-text
// update and commit, and logs at event granularity; the crash path reads the log tail.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "diagnostics/crash_reporter.h"
#include "diagnostics/logger.h"

namespace {

namespace fs = std::filesystem;

fs::path scratchFolder() {
  const fs::path folder =
      fs::temp_directory_path() / ("ornav_diag_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  return folder;
}

void BM_NoteStage(benchmark::State& state) {
  const fs::path folder = scratchFolder();
  ornav::CrashReporter::configureForTesting(folder.string());
  for (auto _ : state) {
    ornav::CrashReporter::noteStage("marked-text-set",
                                    {{"host", "com.apple.TextEdit"}, {"length", "4"}});
  }
  ornav::CrashReporter::configureForTesting("");
  fs::remove_all(folder);
}
BENCHMARK(BM_NoteStage);

void BM_LoggerWrite(benchmark::State& state) {
  const fs::path folder = scratchFolder();
  ornav::Logger::configureForTesting((folder / "a.log").string(), (folder / "b.log").string());
  for (auto _ : state)
    ornav::Logger::write("候选词已选择：索引 3");
  ornav::Logger::resetForTesting();
  fs::remove_all(folder);
}
BENCHMARK(BM_LoggerWrite);

// tailLines(80) on a log of `range(0)` lines of about 60 bytes.
void BM_TailLines(benchmark::State& state) {
  const fs::path folder = scratchFolder();
  {
    std::ofstream out(folder / "b.log");
    for (int i = 0; i < state.range(0); ++i) {
      out << "[2026-03-04 09:05:03.007] 菜单：检查更新 " << i << "\n";
    }
  }
  ornav::Logger::configureForTesting("", (folder / "b.log").string());
  for (auto _ : state)
    benchmark::DoNotOptimize(ornav::Logger::tailLines(80));
  ornav::Logger::resetForTesting();
  fs::remove_all(folder);
}
BENCHMARK(BM_TailLines)->Arg(1000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
