// Figures for the map reader and builder: opening the large shared map (checksum included),
// exact lookups, one prefix stream per Arabic letter (what a first keystroke costs), and building
// maps of one and five million keys.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "crc32c.h"
#include "fst_builder.h"
#include "fst_map.h"

namespace ornav::fst {
namespace {

const std::filesystem::path kFixtures = std::filesystem::path(ORNAV_SHARED_DIR) / "fixtures/fst";

std::vector<std::uint8_t> large_bytes() {
  std::ifstream in(kFixtures / "large.fst", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const Map* large_map() {
  static const std::optional<Map> map = Map::open(large_bytes());
  return map ? &*map : nullptr;
}

// Every key of the large map, by streaming it once.
const std::vector<std::string>& large_keys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> out;
    if (const Map* map = large_map()) {
      auto s = map->prefix_stream("");
      while (s.next())
        out.emplace_back(s.key());
    }
    return out;
  }();
  return keys;
}

void BM_Crc32c(benchmark::State& state) {
  const auto bytes = large_bytes();
  for (auto _ : state)
    benchmark::DoNotOptimize(crc32c(bytes.data(), bytes.size()));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_Crc32c)->Unit(benchmark::kMillisecond);

void BM_OpenLarge(benchmark::State& state) {
  const auto bytes = large_bytes();
  if (bytes.empty()) return state.SkipWithError("large.fst missing");
  for (auto _ : state) {
    state.PauseTiming();
    auto copy = bytes;
    state.ResumeTiming();
    benchmark::DoNotOptimize(Map::open(std::move(copy)));
  }
}
BENCHMARK(BM_OpenLarge)->Unit(benchmark::kMillisecond);

void BM_GetPresent(benchmark::State& state) {
  const Map* map = large_map();
  const auto& keys = large_keys();
  if (!map || keys.empty()) return state.SkipWithError("large.fst missing");
  std::vector<std::string> sample;
  std::mt19937_64 rng(1);
  for (int i = 0; i < 4096; ++i)
    sample.push_back(keys[rng() % keys.size()]);
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(map->get(sample[i++ & 4095]));
}
BENCHMARK(BM_GetPresent);

void BM_GetAbsent(benchmark::State& state) {
  const Map* map = large_map();
  const auto& keys = large_keys();
  if (!map || keys.empty()) return state.SkipWithError("large.fst missing");
  std::vector<std::string> sample;
  std::mt19937_64 rng(2);
  for (int i = 0; i < 4096; ++i)
    sample.push_back(keys[rng() % keys.size()] + "\xd8\xa7\xd8");
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(map->get(sample[i++ & 4095]));
}
BENCHMARK(BM_GetAbsent);

// All 200000 keys, as 138 prefix streams (one per first letter).
void BM_StreamEveryLetter(benchmark::State& state) {
  const Map* map = large_map();
  if (!map) return state.SkipWithError("large.fst missing");
  std::vector<std::string> letters;
  for (unsigned cp = 0x0626; cp <= 0x06D5; ++cp) {
    letters.push_back({static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))});
  }
  std::uint64_t keys = 0;
  for (auto _ : state) {
    for (const auto& letter : letters) {
      auto s = map->prefix_stream(letter);
      while (s.next()) {
        benchmark::DoNotOptimize(s.value());
        ++keys;
      }
    }
  }
  state.counters["keys/s"] =
      benchmark::Counter(static_cast<double>(keys), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StreamEveryLetter)->Unit(benchmark::kMillisecond);

// The most common first letter alone: the largest stream one keystroke can ask for.
void BM_StreamOneLetter(benchmark::State& state) {
  const Map* map = large_map();
  if (!map) return state.SkipWithError("large.fst missing");
  std::uint64_t keys = 0;
  for (auto _ : state) {
    auto s = map->prefix_stream("\xd8\xa8");
    while (s.next()) {
      benchmark::DoNotOptimize(s.value());
      ++keys;
    }
  }
  state.counters["keys/iter"] =
      benchmark::Counter(static_cast<double>(keys), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StreamOneLetter)->Unit(benchmark::kMicrosecond);

// Sorted distinct words of 2-9 two-byte letters (Arabic-script-like keys), values by rank.
std::vector<std::string> word_keys(std::size_t count) {
  std::mt19937_64 rng(7);
  std::vector<std::string> keys;
  while (keys.size() < count) {
    while (keys.size() < count + count / 4) {
      std::string w;
      const int letters = 2 + static_cast<int>(rng() % 8);
      for (int i = 0; i < letters; ++i) {
        const unsigned cp = 0x0626 + static_cast<unsigned>(rng() % (rng() % 4 ? 31 : 175));
        w.push_back(static_cast<char>(0xC0 | cp >> 6));
        w.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
      }
      keys.push_back(std::move(w));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  }
  // Thin out evenly rather than cutting the tail, so every first letter stays represented.
  std::vector<std::string> kept;
  kept.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    kept.push_back(std::move(keys[i * keys.size() / count]));
  return kept;
}

void BM_Build(benchmark::State& state) {
  const auto keys = word_keys(static_cast<std::size_t>(state.range(0)));
  std::size_t size = 0;
  for (auto _ : state) {
    Builder builder;
    std::uint64_t value = 0;
    for (const auto& k : keys)
      builder.insert(k, 1'000'000'000 / ++value);
    size = builder.finish().size();
  }
  state.counters["keys"] = static_cast<double>(keys.size());
  state.counters["MB"] = static_cast<double>(size) / 1e6;
  state.counters["keys/s"] =
      benchmark::Counter(static_cast<double>(keys.size()) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Build)->Arg(1'000'000)->Arg(5'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ornav::fst

BENCHMARK_MAIN();
