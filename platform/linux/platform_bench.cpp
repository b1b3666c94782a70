// What the Linux ports cost: a settings write (atomic replace with fsync), a settings read, a
// main-queue round trip, a loopback HTTP request and starting a child process.
#include <benchmark/benchmark.h>

#include "base/temporary_folder.h"
#include "platform/linux/curl_http_session.h"
#include "platform/linux/file_settings.h"
#include "platform/linux/posix_process_runner.h"
#include "platform/linux/run_loop.h"
#include "testing/local_http_server.h"

namespace ornav::linux_platform {
namespace {

void BM_SettingsWrite(benchmark::State& state) {
  TemporaryFolder dir;
  FileSettings settings(dir / "settings.json", nullptr);
  for (int i = 0; i < 20; ++i)
    settings.setString("Ornavel.key" + std::to_string(i), "value");
  std::int64_t n = 0;
  for (auto _ : state)
    settings.setInteger("Ornavel.lastUpdateCheck", ++n);
}
BENCHMARK(BM_SettingsWrite)->Unit(benchmark::kMillisecond);

void BM_SettingsRead(benchmark::State& state) {
  TemporaryFolder dir;
  FileSettings settings(dir / "settings.json", nullptr);
  settings.setBool("Ornavel.uploadConsent", true);
  for (auto _ : state)
    benchmark::DoNotOptimize(settings.getBool("Ornavel.uploadConsent"));
}
BENCHMARK(BM_SettingsRead);

void BM_MainQueueRoundTrip(benchmark::State& state) {
  RunLoop loop;
  int ran = 0;
  for (auto _ : state) {
    loop.post([&] { ++ran; });
    loop.runUntilIdle();
  }
  benchmark::DoNotOptimize(ran);
}
BENCHMARK(BM_MainQueueRoundTrip);

void BM_LoopbackGet(benchmark::State& state) {
  testing::LocalHttpServer server;
  server.reply("GET", "/api/ornav-ime/about", testing::ServerReply::json(R"({"title":"x"})"));
  RunLoop loop;
  CurlHttpSession session(loop);
  HttpRequest request;
  request.url = server.url("/api/ornav-ime/about");
  for (auto _ : state) {
    bool done = false;
    session.dataTask(request, [&](HttpResult) { done = true; });
    loop.runUntil([&] { return done; }, Seconds(10));
  }
}
BENCHMARK(BM_LoopbackGet)->Unit(benchmark::kMillisecond);

void BM_SpawnTrue(benchmark::State& state) {
  PosixProcessRunner runner;
  ProcessRequest request;
  request.path = "/bin/true";
  for (auto _ : state)
    benchmark::DoNotOptimize(runner.run(request));
}
BENCHMARK(BM_SpawnTrue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ornav::linux_platform

BENCHMARK_MAIN();
