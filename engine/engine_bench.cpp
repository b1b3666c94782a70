// Engine costs on a deterministic dictionary of realistic size: creation and memory per engine,
// one keystroke for every one- and two-letter prefix (with and without a context word), a pick,
// and prediction mode. Also on a small dictionary the size of the test fixtures.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "fst/fst_builder.h"
#include "fst/fst_map.h"
#include "ornav_engine.h"
#include "test_dict.h"

namespace {

using Clock = std::chrono::steady_clock;

// The 32 letters and the hamza carrier, with rough weights of how often they occur.
struct Letter {
  const char* utf8;
  int weight;
};
constexpr Letter letters[] = {
    {"\xD8\xA7", 10}, {"\xDB\x95", 9}, {"\xD8\xA8", 3}, {"\xD9\xBE", 1}, {"\xD8\xAA", 4},
    {"\xD8\xAC", 1},  {"\xDA\x86", 1}, {"\xD8\xAE", 1}, {"\xD8\xAF", 4}, {"\xD8\xB1", 6},
    {"\xD8\xB2", 2},  {"\xDA\x98", 1}, {"\xD8\xB3", 3}, {"\xD8\xB4", 2}, {"\xD8\xBA", 2},
    {"\xD9\x81", 1},  {"\xD9\x82", 4}, {"\xD9\x83", 3}, {"\xDA\xAF", 2}, {"\xDA\xAD", 1},
    {"\xD9\x84", 6},  {"\xD9\x85", 4}, {"\xD9\x86", 6}, {"\xDA\xBE", 2}, {"\xD9\x88", 3},
    {"\xDB\x87", 3},  {"\xDB\x86", 1}, {"\xDB\x88", 2}, {"\xDB\x8B", 2}, {"\xDB\x90", 2},
    {"\xD9\x89", 9},  {"\xD9\x8A", 5}, {"\xD8\xA6", 3}};
constexpr int letter_count = sizeof letters / sizeof letters[0];

struct Dictionary {
  std::unique_ptr<ornav::testing::TempDir> dir;
  std::vector<std::string> by_rank;  // most frequent first
  double build_seconds = 0;
};

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// `word_count` distinct words with Zipf-like counts and about `pair_count` pairs; the pairs are
// generated directly in key order, so nothing large has to be sorted.
Dictionary make_dictionary(std::size_t word_count, std::size_t pair_count, std::uint32_t seed) {
  const auto start = Clock::now();
  std::mt19937_64 rng(seed);
  std::vector<int> weights;
  for (const Letter& l : letters)
    weights.push_back(l.weight);
  std::discrete_distribution<int> letter(weights.begin(), weights.end());
  std::uniform_int_distribution<int> length(2, 10);

  std::unordered_set<std::string> seen;
  std::vector<std::string> words;
  words.reserve(word_count);
  while (words.size() < word_count) {
    std::string w;
    // Vowel-initial words start with the hamza carrier: a fifth of all words.
    if (rng() % 5 == 0) w = letters[letter_count - 1].utf8;
    for (int i = length(rng); i > 0; --i)
      w += letters[letter(rng)].utf8;
    if (seen.insert(w).second) words.push_back(std::move(w));
  }
  seen.clear();
  Dictionary dict;
  dict.by_rank = words;  // generation order is random: use it as the frequency rank
  std::sort(words.begin(), words.end());
  // Rank of each sorted word (1 = most frequent).
  std::vector<std::uint32_t> rank_of(word_count);
  {
    std::unordered_map<std::string_view, std::uint32_t> rank;
    for (std::uint32_t r = 0; r < word_count; ++r)
      rank.emplace(dict.by_rank[r], r + 1);
    for (std::size_t i = 0; i < word_count; ++i)
      rank_of[i] = rank.at(words[i]);
  }

  ornav::fst::Builder unigram;
  for (std::size_t i = 0; i < word_count; ++i) {
    unigram.insert(words[i], 10000000 / rank_of[i] + 1);
  }

  // Continuations per word fall with its rank: n(r) = a / r^0.7.
  double total = 0;
  for (std::size_t r = 1; r <= word_count; ++r)
    total += 1.0 / std::pow(double(r), 0.7);
  const double a = double(pair_count) / total;
  ornav::fst::Builder bigram;
  std::vector<std::uint32_t> next;
  std::string key;
  for (std::size_t i = 0; i < word_count; ++i) {
    const std::size_t n = std::min<std::size_t>(
        word_count, std::max<std::size_t>(1, std::llround(a / std::pow(rank_of[i], 0.7))));
    next.clear();
    while (next.size() < n) {
      for (std::size_t k = next.size(); k < n; ++k)
        next.push_back(std::uint32_t(rng() % word_count));
      std::sort(next.begin(), next.end());
      next.erase(std::unique(next.begin(), next.end()), next.end());
    }
    for (const std::uint32_t j : next) {
      key.assign(words[i]);
      key.push_back('\x1F');
      key.append(words[j]);
      bigram.insert(key, 1 + rng() % (1 + 5000 / rank_of[j]));
    }
  }
  dict.dir = std::make_unique<ornav::testing::TempDir>();
  write_bytes(dict.dir->file("unigram.fst"), unigram.finish());
  write_bytes(dict.dir->file("bigram.fst"), bigram.finish());
  dict.build_seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return dict;
}

const Dictionary& large_dict() {
  static const Dictionary dict = make_dictionary(1000000, 5000000, 20261207);
  return dict;
}
const Dictionary& small_dict() {
  static const Dictionary dict = make_dictionary(2000, 6000, 7);
  return dict;
}
const Dictionary& dict_for(const benchmark::State& state) {
  return state.range(0) == 0 ? large_dict() : small_dict();
}

double resident_mib() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void release(char* text) {
  orn_string_free(text);
}

// Wall time is what the user waits; thread CPU time is what the engine costs when the machine
// is shared with other work. Both are reported.
struct Cost {
  double wall_us;
  double cpu_us;
};

double thread_cpu_us() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

template <typename Body>
Cost measure(Body body) {
  const double cpu = thread_cpu_us();
  const auto start = Clock::now();
  body();
  const auto stop = Clock::now();
  return {std::chrono::duration<double, std::micro>(stop - start).count(), thread_cpu_us() - cpu};
}

// One typed letter as the application does it, then a backspace that restores the buffer.
Cost keystroke(OrnEngine* engine, const char* letter) {
  char* list = nullptr;
  const Cost cost = measure([&] {
    orn_input(engine, letter);
    release(orn_buffer(engine));
    list = orn_candidates(engine);
  });
  benchmark::DoNotOptimize(list);
  release(list);
  orn_backspace(engine);
  return cost;
}

void report(benchmark::State& state, const std::vector<Cost>& costs) {
  std::vector<double> wall, cpu;
  for (const Cost& c : costs) {
    wall.push_back(c.wall_us);
    cpu.push_back(c.cpu_us);
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  state.counters["median_us"] = wall[wall.size() / 2];
  state.counters["worst_us"] = wall.back();
  state.counters["cpu_median_us"] = cpu[cpu.size() / 2];
  state.counters["cpu_p90_us"] = cpu[cpu.size() * 9 / 10];
  state.counters["cpu_worst_us"] = cpu.back();
  state.counters["cases"] = double(costs.size());
}

// Sets the context word: a raw commit of a dictionary word counts nothing and writes nothing.
void set_context(OrnEngine* engine, const std::string& word) {
  orn_reset(engine);
  orn_input(engine, word.c_str());
  release(orn_commit_raw(engine));
}

void BM_Create(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  state.counters["dict_build_s"] = dict.build_seconds;
  const double before = resident_mib();
  OrnEngine* kept = orn_engine_new(dict.dir->path().c_str(), nullptr);
  state.counters["rss_per_engine_MiB"] = resident_mib() - before;
  for (auto _ : state) {
    OrnEngine* engine = orn_engine_new(dict.dir->path().c_str(), nullptr);
    benchmark::DoNotOptimize(engine);
    orn_engine_free(engine);
  }
  orn_engine_free(kept);
}
BENCHMARK(BM_Create)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every one-letter prefix (range 1 = 1) or every two-letter prefix (2), with (range 2 = 1) or
// without a context word.
void BM_Keystroke(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  OrnEngine* engine = orn_engine_new(dict.dir->path().c_str(), nullptr);
  const bool two_letters = state.range(1) == 2;
  const bool context = state.range(2) == 1;
  std::vector<Cost> costs;
  for (auto _ : state) {
    costs.clear();
    for (int first = 0; first < letter_count; ++first) {
      if (context) set_context(engine, dict.by_rank[0]);
      if (!two_letters) {
        costs.push_back(keystroke(engine, letters[first].utf8));
        continue;
      }
      orn_input(engine, letters[first].utf8);
      for (int second = 0; second < letter_count; ++second) {
        costs.push_back(keystroke(engine, letters[second].utf8));
      }
      orn_reset(engine);
    }
  }
  report(state, costs);
  orn_engine_free(engine);
}
BENCHMARK(BM_Keystroke)
    ->ArgsProduct({{0, 1}, {1, 2}, {0, 1}})
    ->ArgNames({"small", "letters", "context"})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The floor under a keystroke: walking the unigram keys under each one-letter prefix, nothing
// else. The difference to BM_Keystroke is the ranking's own cost.
void BM_MapWalkOnly(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  std::ifstream in(dict.dir->file("unigram.fst"), std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  const auto map = ornav::fst::Map::open(std::move(bytes));
  if (!map) {
    state.SkipWithError("unigram map does not open");
    return;
  }
  std::vector<Cost> costs;
  std::uint64_t keys = 0;
  for (auto _ : state) {
    costs.clear();
    for (const Letter& letter : letters) {
      costs.push_back(measure([&] {
        auto stream = map->prefix_stream(letter.utf8);
        while (stream.next())
          ++keys;
      }));
    }
  }
  benchmark::DoNotOptimize(keys);
  report(state, costs);
}
BENCHMARK(BM_MapWalkOnly)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

// A pick of the best candidate after one letter, with its synchronous save of user_freq.tsv.
void BM_Select(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  ornav::testing::TempDir user;
  OrnEngine* engine = orn_engine_new(dict.dir->path().c_str(), user.path().c_str());
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    orn_reset(engine);
    orn_input(engine, letters[i++ % letter_count].utf8);
    state.ResumeTiming();
    release(orn_select(engine, 0));
  }
  orn_engine_free(engine);
}
BENCHMARK(BM_Select)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The prediction list after a context word: the most frequent word (most continuations) and a
// sweep over the 200 most frequent words.
void BM_Prediction(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  OrnEngine* engine = orn_engine_new(dict.dir->path().c_str(), nullptr);
  std::vector<Cost> costs;
  for (auto _ : state) {
    costs.clear();
    for (std::size_t r = 0; r < 200 && r < dict.by_rank.size(); ++r) {
      set_context(engine, dict.by_rank[r]);
      char* list = nullptr;
      costs.push_back(measure([&] { list = orn_candidates(engine); }));
      release(list);
    }
  }
  state.counters["top_word_cpu_us"] = costs.front().cpu_us;
  report(state, costs);
  orn_engine_free(engine);
}
BENCHMARK(BM_Prediction)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
