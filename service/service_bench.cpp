// 1,000 simulated devices on loopback, SQLite and PostgreSQL side by side: each device uploads
// the growth of its counts and then fetches the dictionary (one in ten as a new installation,
// the rest already current), from 8 client threads against 8 service threads. Prints requests
// per second and the median and 99th-percentile latency of each kind of request.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "base/temporary_folder.h"
#include "base/text.h"
#include "testing/live_service.h"
#include "testing/scratch_postgres.h"

namespace ornav::service {
namespace {

constexpr int kDevices = 1000, kClients = 8, kWordsPerUpload = 20, kVocabulary = 3000;

// A device's upload: words drawn with a skew towards the common ones, as people type.
std::string upload(int device, int round) {
  static const std::vector<std::string> letters = codePoints("ابتجخدرزسشغفقكلمنوىيپچژڭگھۆۇۈۋېە");
  std::string entries;
  unsigned seed = static_cast<unsigned>(device * 7919 + round * 104729);
  for (int i = 0; i < kWordsPerUpload; ++i) {
    seed = seed * 1103515245u + 12345u;
    const double u = (seed >> 8) / double(1 << 24);
    std::string word;
    for (int n = int(u * u * u * kVocabulary), l = 0; l < 4; ++l, n /= int(letters.size()))
      word += letters[n % letters.size()];
    entries += (i ? "," : "") + std::string(R"({"word":")") + word + R"(","count":)" +
               std::to_string(1 + i % 3) + "}";
  }
  return R"({"device":"BENCH-)" + std::to_string(device) + R"(","entries":[)" + entries + "]}";
}

void load(benchmark::State& state, const std::string& database) {
  testing::LiveService service(database, {.uploadsPerHour = 0, .storingRequestsPerAddress = 0},
                               FrontEndOptions{.threads = kClients});
  // A first round of uploads and a built dictionary, so that fetches carry words.
  for (int device = 0; device < kDevices; device += 4)
    service.handlers.handle({"POST", "/api/ornav-ime/user-dict", {}, upload(device, 0), "x"});
  const std::string current = std::to_string(service.storage->rebuildDictionary(2, 0).version);

  for (auto _ : state) {
    std::vector<double> uploads[kClients], fetches[kClients];
    std::atomic<int> next = 0;
    const auto started = std::chrono::steady_clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
      clients.emplace_back([&, c] {
        httplib::Client client("127.0.0.1", service.frontEnd.port());
        const auto timed = [](std::vector<double>& into, auto request) {
          const auto start = std::chrono::steady_clock::now();
          request();
          into.push_back(
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                  .count());
        };
        for (int device; (device = next++) < kDevices;) {
          timed(uploads[c], [&] {
            client.Post("/api/ornav-ime/user-dict", upload(device, 1), "application/json");
          });
          const std::string since = device % 10 == 0 ? "0" : current;
          timed(fetches[c], [&] { client.Get("/api/ornav-ime/dict?since=" + since); });
        }
      });
    }
    for (std::thread& client : clients)
      client.join();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    state.counters["req/s"] = 2 * kDevices / took.count();
    for (auto [name, lists] : {std::pair{"upload", uploads}, std::pair{"fetch", fetches}}) {
      std::vector<double> all;
      for (int c = 0; c < kClients; ++c)
        all.insert(all.end(), lists[c].begin(), lists[c].end());
      std::sort(all.begin(), all.end());
      state.counters[std::string(name) + "_p50_ms"] = all[all.size() / 2];
      state.counters[std::string(name) + "_p99_ms"] = all[all.size() * 99 / 100];
    }
  }
  state.counters["dictionary_words"] = double(service.storage->stats().dictionaryWords);
}

void sqliteLoad(benchmark::State& state) {
  TemporaryFolder folder("ornav-service-bench");
  load(state, "sqlite:" + (folder / "db").string());
}

void postgresLoad(benchmark::State& state) {
  if (testing::scratchPostgresURL()) return load(state, testing::freshPostgresDatabase());
  state.SkipWithError("PostgreSQL is not installed");
  for (auto _ : state) {
  }
}

BENCHMARK(sqliteLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(postgresLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace ornav::service

int main(int argc, char** argv) {
  ornav::service::testing::scratchPostgresSyncsCommits();  // durable, as SQLite is here
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
