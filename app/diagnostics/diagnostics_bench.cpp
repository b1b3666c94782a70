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
  ornav::CrashReporter reporter(ornav::CrashReporter::Setup{.baseDir = folder});
  for (auto _ : state) {
    reporter.noteStage("marked-text-set", {{"host", "com.apple.TextEdit"}, {"length", "4"}});
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_NoteStage);

void BM_LoggerWrite(benchmark::State& state) {
  const fs::path folder = scratchFolder();
  const ornav::Logger logger({(folder / "a.log").string(), (folder / "b.log").string()}, nullptr,
                             nullptr);
  for (auto _ : state)
    logger.log("候选词已选择：索引 3");
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
  const ornav::Logger logger({"", (folder / "b.log").string()}, nullptr, nullptr);
  for (auto _ : state)
    benchmark::DoNotOptimize(logger.tail(80));
  fs::remove_all(folder);
}
BENCHMARK(BM_TailLines)->Arg(1000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
