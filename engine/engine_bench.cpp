// Engine costs on a deterministic dictionary of realistic size (1,000,000 words, about 5,000,000
// pairs, 45,000 after the busiest word, with its ranking index) and on a small one the size of the
// test fixtures: creation and memory, an index built by the engine, one keystroke for every one-
// and two-letter prefix (with and without the busiest context word), the plain ranking,
// prediction, picks and saves. Every figure is printed as p50 / p99 / worst.
//
// Before the timings, BM_Identity compares the engine's list with the plain ranking
// (rank_candidates) for every one-letter prefix and more; a difference fails the program.
//
// Generating the large dictionary takes about half a minute. With ORNAV_BENCH_CACHE set to a
// directory, the generated files are kept there and reused by later runs.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "dictionary.h"
#include "engine.h"
#include "fst/fst_builder.h"
#include "fst/fst_map.h"
#include "ornav_engine.h"
#include "ranking_index_builder.h"
#include "test_dict.h"
#include "user_store.h"

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
  std::string dir;        // unigram.fst, bigram.fst, ranking.idx
  std::string plain_dir;  // copies of the maps without an index (one is built when opened)
  std::unique_ptr<ornav::testing::TempDir> temp;
  std::vector<std::string> by_rank;  // most frequent first
  double build_seconds = 0;
  double index_seconds = 0;
};

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint64_t file_size(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? std::uint64_t(st.st_size) : 0;
}

constexpr std::uint64_t kPairSighting = 3000000;

// `word_count` distinct words with Zipf-like counts and about `pair_count` pairs; the pairs are
// generated directly in key order, so nothing large has to be sorted.
void generate(std::size_t word_count, std::size_t pair_count, std::uint32_t seed,
              Dictionary& dict) {
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

  // Continuations per word fall with its rank: n(r) = a / r^0.76 (45,000 for the first).
  constexpr double kFall = 0.76;
  double total = 0;
  for (std::size_t r = 1; r <= word_count; ++r)
    total += 1.0 / std::pow(double(r), kFall);
  const double a = double(pair_count) / total;
  ornav::fst::Builder bigram;
  std::vector<std::uint32_t> next;
  std::string key;
  for (std::size_t i = 0; i < word_count; ++i) {
    const std::size_t n = std::min<std::size_t>(
        word_count, std::max<std::size_t>(1, std::llround(a / std::pow(rank_of[i], kFall))));
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
      // Pairs seen once, twice, ... and weighed as the shipped dictionary weighs them: a sighting
      // of a pair counts 3,000,000, far above any word's count, so after a context word the words
      // that follow it come first, and most pairs tie.
      bigram.insert(key, kPairSighting * (1 + rng() % (1 + 5000 / rank_of[j])));
    }
  }
  write_bytes(dict.dir + "/unigram.fst", unigram.finish());
  write_bytes(dict.dir + "/bigram.fst", bigram.finish());
}

// What `ornav-dict build` writes next to the maps.
void write_index(Dictionary& dict) {
  const auto start = Clock::now();
  const auto unigram = ornav::fst::Map::open(read_bytes(dict.dir + "/unigram.fst"));
  const auto bigram = ornav::fst::Map::open(read_bytes(dict.dir + "/bigram.fst"));
  if (!unigram || !bigram) std::abort();
  const auto index = ornav::build_ranking_index(*unigram, *bigram);
  if (!index) std::abort();
  write_bytes(dict.dir + "/ranking.idx", *index);
  dict.index_seconds = std::chrono::duration<double>(Clock::now() - start).count();
}

// Copies of the maps without an index (not links: engines share a dictionary by its maps).
void copy_maps(const std::string& from, const std::string& to) {
  std::filesystem::create_directories(to);
  std::filesystem::remove_all(to + "/ranking.idx");
  for (const char* map : {"/unigram.fst", "/bigram.fst"}) {
    if (file_size(to + map) == file_size(from + map)) continue;
    std::filesystem::copy_file(from + map, to + map,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

Dictionary make_dictionary(std::size_t word_count, std::size_t pair_count, std::uint32_t seed) {
  Dictionary dict;
  const char* cache = std::getenv("ORNAV_BENCH_CACHE");
  if (cache && *cache) {
    // "v2": the generator's version (heavier contexts, pairs weighed as shipped).
    dict.dir = std::string(cache) + "/dict-v2-" + std::to_string(word_count) + "-" +
               std::to_string(pair_count) + "-" + std::to_string(seed);
  } else {
    dict.temp = std::make_unique<ornav::testing::TempDir>();
    dict.dir = dict.temp->file("dict");
  }
  dict.plain_dir = dict.dir + "-plain";
  const std::string ranks = dict.dir + "/by_rank.txt";
  if (std::ifstream in{ranks}; in) {
    for (std::string line; std::getline(in, line);)
      dict.by_rank.push_back(line);
    if (dict.by_rank.size() == word_count) {
      copy_maps(dict.dir, dict.plain_dir);
      return dict;
    }
    dict.by_rank.clear();
  }
  std::filesystem::create_directories(dict.dir);
  const auto start = Clock::now();
  generate(word_count, pair_count, seed, dict);
  dict.build_seconds = std::chrono::duration<double>(Clock::now() - start).count();
  write_index(dict);
  copy_maps(dict.dir, dict.plain_dir);
  std::ofstream out(ranks);
  for (const std::string& w : dict.by_rank)
    out << w << '\n';
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

// Resident memory from /proc/self/status: anonymous (private to this process) and file-backed
// (mapped files, shared with the page cache and other processes).
struct Resident {
  double anon_mib = 0;
  double file_mib = 0;
};
Resident resident() {
  Resident r;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    const auto value = [&] {
      return std::strtod(line.c_str() + line.find(':') + 1, nullptr) / 1024;
    };
    if (line.rfind("RssAnon:", 0) == 0) r.anon_mib = value();
    if (line.rfind("RssFile:", 0) == 0) r.file_mib = value();
  }
  return r;
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

void report(benchmark::State& state, const std::vector<Cost>& costs) {
  if (costs.empty()) return;
  std::vector<double> wall, cpu;
  for (const Cost& c : costs) {
    wall.push_back(c.wall_us);
    cpu.push_back(c.cpu_us);
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  const auto at = [](const std::vector<double>& v, double q) {
    return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))];
  };
  state.counters["p50_us"] = at(wall, 0.5);
  state.counters["p99_us"] = at(wall, 0.99);
  state.counters["worst_us"] = wall.back();
  state.counters["cpu_p50_us"] = at(cpu, 0.5);
  state.counters["cpu_p99_us"] = at(cpu, 0.99);
  state.counters["cpu_worst_us"] = cpu.back();
  state.counters["cases"] = double(costs.size());
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

// Sets the context word: a raw commit of a dictionary word counts nothing and writes nothing.
void set_context(OrnEngine* engine, const std::string& word) {
  orn_reset(engine);
  orn_input(engine, word.c_str());
  release(orn_commit_raw(engine));
}

// An engine whose dictionary has been read into memory. Engines read their dictionary's pages in
// the background after creation; BM_KeystrokeRightAfterCreation measures the keystrokes that
// come before that is done, the other timings start after it.
OrnEngine* new_read_engine(const std::string& dir, const char* user_dir) {
  OrnEngine* engine = orn_engine_new(dir.c_str(), user_dir);
  if (const auto dict = ornav::open_dictionary(dir); dict && dict->warmer) dict->warmer->wait();
  return engine;
}

// A user directory as a long-time user has it: picks of 2,000 frequent words and a cloud
// dictionary of 20,000 words (half of them unknown to the maps).
struct UserTables {
  ornav::testing::TempDir dir;
  explicit UserTables(const Dictionary& dict) {
    std::mt19937 rng(11);
    std::string picks, cloud;
    const std::size_t n = dict.by_rank.size();
    for (int i = 0; i < 2000; ++i) {
      picks += dict.by_rank[rng() % std::min<std::size_t>(n, 20000)] + "\t" +
               std::to_string(1 + rng() % 20) + "\n";
    }
    for (int i = 0; i < 20000; ++i) {
      std::string word = dict.by_rank[rng() % n];
      if (i % 2) word += letters[rng() % letter_count].utf8;
      cloud += word + "\t" + std::to_string(rng() % 20000) + "\n";
    }
    ornav::testing::write_text(dir.file("user_freq.tsv"), picks);
    ornav::testing::write_text(dir.file("extra_dict.tsv"), cloud);
  }
};

// ---------------------------------------------------------------------------------------------
// Identity with the plain ranking.

struct IdentityCheck {
  std::size_t states = 0;
  std::size_t differences = 0;
  std::map<ornav::FastRanker::Route, std::size_t> routes;
  std::string first_difference;

  void check(ornav::Engine& engine, const std::string& what) {
    const std::vector<std::string> fast = engine.candidates();
    const ornav::Dictionary& d = engine.dictionary();
    const ornav::RankingInput input{d.unigram,          d.bigram,           engine.buffer(),
                                    engine.prev_word(), engine.user_freq(), engine.extra_dict()};
    std::vector<std::string> plain;
    ornav::RankingScratch scratch;
    ornav::rank_candidates(input, scratch, plain);
    ++states;
    ++routes[engine.last_route()];
    if (fast != plain && differences++ == 0) first_difference = what;
  }
};

void BM_Identity(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const bool tables = state.range(1) == 1;
  std::unique_ptr<UserTables> user;
  if (tables) user = std::make_unique<UserTables>(dict);
  auto engine = ornav::Engine::create(
      dict.dir, user ? std::optional<std::string_view>(user->dir.path()) : std::nullopt);
  if (!engine || !engine->dictionary().found_index)
    return state.SkipWithError("no engine or index");
  IdentityCheck check;
  for (auto _ : state) {
    const std::vector<std::string> contexts = {dict.by_rank[0], dict.by_rank[1], dict.by_rank[10],
                                               dict.by_rank[1000], dict.by_rank.back()};
    for (int c = -1; c < int(contexts.size()); ++c) {
      for (int first = 0; first < letter_count; ++first) {
        engine->reset();
        if (c >= 0) {
          engine->input(contexts[std::size_t(c)]);
          engine->commit_raw();
        }
        engine->input(letters[first].utf8);
        check.check(*engine,
                    "one letter " + std::to_string(first) + ", context " + std::to_string(c));
        if (c > 1) continue;  // two letters: without context and after the two busiest words
        for (int second = 0; second < letter_count; ++second) {
          engine->input(letters[second].utf8);
          check.check(*engine, "two letters");
          engine->backspace();
        }
      }
    }
    for (std::size_t r = 0; r < 300 && r < dict.by_rank.size(); ++r) {
      engine->reset();
      engine->input(dict.by_rank[r]);
      engine->commit_raw();
      check.check(*engine, "prediction after rank " + std::to_string(r));
    }
  }
  state.counters["states"] = double(check.states);
  state.counters["differences"] = double(check.differences);
  if (const auto busiest = engine->dictionary().index()->context(dict.by_rank[0]))
    state.counters["busiest_pairs"] = double(busiest->pair_count);
  state.counters["fast_share"] =
      1.0 - double(check.routes[ornav::FastRanker::Route::plain]) / double(check.states);
  if (check.differences) {
    std::fprintf(stderr, "engine list differs from the plain ranking: %s\n",
                 check.first_difference.c_str());
    state.SkipWithError("lists differ from the plain ranking");
    std::exit(1);
  }
}
BENCHMARK(BM_Identity)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"small", "tables"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// Creation and memory.

// The first engine of a process maps both maps, checks their footers and roots and validates the
// index; without an index it starts building one, and releasing it stops that build.
void BM_CreateFirst(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const std::string& dir = state.range(1) ? dict.plain_dir : dict.dir;
  std::vector<Cost> costs;
  double release_worst_us = 0;
  for (auto _ : state) {
    OrnEngine* engine = nullptr;
    costs.push_back(measure([&] { engine = orn_engine_new(dir.c_str(), nullptr); }));
    if (!engine) return state.SkipWithError("engine creation failed");
    // The last engine: the next one opens the files afresh.
    release_worst_us =
        std::max(release_worst_us, measure([&] { orn_engine_free(engine); }).wall_us);
  }
  report(state, costs);
  state.counters["release_worst_us"] = release_worst_us;
  state.counters["dict_build_s"] = dict.build_seconds;
  state.counters["index_build_s"] = dict.index_seconds;
  const double maps =
      double(file_size(dict.dir + "/unigram.fst") + file_size(dict.dir + "/bigram.fst"));
  state.counters["maps_MiB"] = maps / (1024 * 1024);
  state.counters["index_share_of_maps"] = double(file_size(dict.dir + "/ranking.idx")) / maps;
}
BENCHMARK(BM_CreateFirst)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"small", "no_index"})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

double process_cpu_s() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The index an engine builds itself for maps that came without one. Copies of the maps in a fresh
// folder (range 1 = 1: a folder that cannot take the index, which then goes to the user's cache
// folder); the first engine over them; the time until the index is in use, the process's CPU time
// meanwhile and the most private memory it held on the way. Then, as in a later process, the
// first engine over the same maps again (it finds the index) and its first keystrokes: every
// one-letter prefix after the busiest context word.
void BM_IndexBuild(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const bool to_cache = state.range(1) == 1;
  const ornav::testing::TempDir cache;
  ::setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
  std::vector<Cost> costs;
  for (auto _ : state) {
    const ornav::testing::TempDir folder;
    const std::string dir = folder.file("dict");
    copy_maps(dict.dir, dir);
    if (to_cache) std::filesystem::create_directory(dir + "/ranking.idx");
    const double anon_before = resident().anon_mib;
    const double cpu_before = process_cpu_s();
    const auto start = Clock::now();
    OrnEngine* engine = nullptr;
    state.counters["create_ms"] =
        measure([&] { engine = orn_engine_new(dir.c_str(), nullptr); }).wall_us / 1000;
    auto opened = ornav::open_dictionary(dir);
    std::atomic<bool> done{false};
    std::thread waiter([&] {
      opened->wait_for_index();
      done = true;
    });
    double peak_mib = 0;
    while (!done) {
      peak_mib = std::max(peak_mib, resident().anon_mib - anon_before);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    waiter.join();
    state.counters["build_s"] = std::chrono::duration<double>(Clock::now() - start).count();
    state.counters["build_cpu_s"] = process_cpu_s() - cpu_before;
    state.counters["build_peak_anon_MiB"] = peak_mib;
    if (!opened->index()) return state.SkipWithError("no index was built");
    orn_engine_free(engine);
    opened.reset();

    state.counters["later_create_ms"] =
        measure([&] { engine = orn_engine_new(dir.c_str(), nullptr); }).wall_us / 1000;
    if (!ornav::open_dictionary(dir)->found_index) return state.SkipWithError("index not kept");
    for (const Letter& letter : letters) {
      set_context(engine, dict.by_rank[0]);
      costs.push_back(keystroke(engine, letter.utf8));
    }
    orn_engine_free(engine);
  }
  report(state, costs);
}
BENCHMARK(BM_IndexBuild)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"small", "to_cache"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Further engines while one is alive share its dictionary; resident memory with 1 and 8 engines.
void BM_CreateMore(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const Resident before = resident();
  std::vector<OrnEngine*> engines{orn_engine_new(dict.dir.c_str(), nullptr)};
  const Resident one = resident();
  std::vector<Cost> costs;
  for (auto _ : state) {
    OrnEngine* engine = nullptr;
    costs.push_back(measure([&] { engine = orn_engine_new(dict.dir.c_str(), nullptr); }));
    if (!engine) return state.SkipWithError("engine creation failed");
    if (engines.size() < 8) {
      engines.push_back(engine);
    } else {
      orn_engine_free(engine);
    }
  }
  // Type something in each, so each has its own working buffers too.
  for (OrnEngine* engine : engines) {
    orn_input(engine, letters[0].utf8);
    release(orn_candidates(engine));
  }
  const Resident eight = resident();
  report(state, costs);
  state.counters["rss_anon_1_MiB"] = one.anon_mib - before.anon_mib;
  state.counters["rss_file_1_MiB"] = one.file_mib - before.file_mib;
  state.counters["rss_anon_8_MiB"] = eight.anon_mib - before.anon_mib;
  state.counters["rss_file_8_MiB"] = eight.file_mib - before.file_mib;
  state.counters["engines"] = double(engines.size());
  for (OrnEngine* engine : engines)
    orn_engine_free(engine);
}
BENCHMARK(BM_CreateMore)->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// Keystrokes.

// Every one-letter prefix (range 1 = 1) or every two-letter prefix (2), with (range 2 = 1) or
// without the context word with the most pairs, repeated so that p99 means something.
void BM_Keystroke(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const bool two_letters = state.range(1) == 2;
  const bool context = state.range(2) == 1;
  OrnEngine* engine = new_read_engine(dict.dir, nullptr);
  const int rounds = two_letters ? 3 : 30;
  std::vector<Cost> costs;
  for (auto _ : state) {
    costs.clear();
    for (int round = 0; round < rounds; ++round) {
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
  }
  report(state, costs);
  orn_engine_free(engine);
}
BENCHMARK(BM_Keystroke)
    ->ArgsProduct({{0, 1}, {1, 2}, {0, 1}})
    ->ArgNames({"small", "letters", "context"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The plain ranking, which an engine uses until its index is ready: every one-letter prefix, with
// and without the busiest context word (three rounds: it is slow).
void BM_PlainRanking(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const auto dictionary = ornav::open_dictionary(dict.dir);
  dictionary->warmer->wait();
  std::optional<std::string> context;
  if (state.range(1)) context = dict.by_rank[0];
  const ornav::FreqTable none;
  ornav::RankingScratch scratch;
  std::vector<std::string> list;
  std::vector<Cost> costs;
  for (auto _ : state) {
    for (int round = 0; round < 3; ++round) {
      for (const Letter& letter : letters) {
        const ornav::RankingInput input{
            dictionary->unigram, dictionary->bigram, letter.utf8, context, none, none};
        costs.push_back(measure([&] { ornav::rank_candidates(input, scratch, list); }));
      }
    }
  }
  report(state, costs);
}
BENCHMARK(BM_PlainRanking)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"small", "context"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The first keystrokes of a process: every one-letter prefix after the busiest context word,
// typed as soon as the first engine has been created, while its dictionary's pages are still
// being read (from the file cache here; from disk on a first start).
void BM_KeystrokeRightAfterCreation(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  std::vector<Cost> costs;
  for (auto _ : state) {
    OrnEngine* engine = orn_engine_new(dict.dir.c_str(), nullptr);
    if (!engine) return state.SkipWithError("engine creation failed");
    for (int first = 0; first < letter_count; ++first) {
      set_context(engine, dict.by_rank[0]);
      costs.push_back(keystroke(engine, letters[first].utf8));
    }
    orn_engine_free(engine);
  }
  report(state, costs);
}
BENCHMARK(BM_KeystrokeRightAfterCreation)
    ->ArgsProduct({{0, 1}})
    ->ArgNames({"small"})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// One-letter keystrokes with a long-time user's tables (2,000 picks, 20,000 cloud words).
void BM_KeystrokeUserTables(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const UserTables user(dict);
  OrnEngine* engine = new_read_engine(dict.dir, user.dir.path().c_str());
  const bool context = state.range(1) == 1;
  std::vector<Cost> costs;
  for (auto _ : state) {
    for (int round = 0; round < 30; ++round) {
      for (int first = 0; first < letter_count; ++first) {
        if (context) set_context(engine, dict.by_rank[0]);
        costs.push_back(keystroke(engine, letters[first].utf8));
      }
    }
  }
  report(state, costs);
  orn_engine_free(engine);
}
BENCHMARK(BM_KeystrokeUserTables)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"small", "context"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The floor under the plain ranking: walking the unigram keys under each one-letter prefix,
// nothing else.
void BM_MapWalkOnly(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  const auto map = ornav::fst::Map::open(read_bytes(dict.dir + "/unigram.fst"));
  if (!map) return state.SkipWithError("unigram map does not open");
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

// ---------------------------------------------------------------------------------------------
// Prediction.

// The prediction list after each of the 200 most frequent words (the first has the most pairs),
// as after a pick; range 1 adds a long-time user's tables.
void BM_Prediction(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  std::unique_ptr<UserTables> user;
  if (state.range(1)) user = std::make_unique<UserTables>(dict);
  OrnEngine* engine = new_read_engine(dict.dir, user ? user->dir.path().c_str() : nullptr);
  std::vector<Cost> costs;
  double top_word_us = 0;
  for (auto _ : state) {
    for (int round = 0; round < 10; ++round) {
      for (std::size_t r = 0; r < 200 && r < dict.by_rank.size(); ++r) {
        set_context(engine, dict.by_rank[r]);
        char* list = nullptr;
        costs.push_back(measure([&] { list = orn_candidates(engine); }));
        if (r == 0) top_word_us = std::max(top_word_us, costs.back().wall_us);
        release(list);
      }
    }
  }
  state.counters["top_word_worst_us"] = top_word_us;
  report(state, costs);
  orn_engine_free(engine);
}
BENCHMARK(BM_Prediction)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"small", "tables"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// Picks and saves.

// A pick of the best candidate after one letter, as the application does it: the list was
// shown (orn_candidates), then orn_select (which must not rank again), then orn_candidates for
// the predictions. Range 1 = 1: with a user directory, so the pick is saved; the save is
// reported separately as its own share.
void BM_Pick(benchmark::State& state) {
  const Dictionary& dict = dict_for(state);
  ornav::testing::TempDir user;
  const bool saving = state.range(1) == 1;
  OrnEngine* engine = new_read_engine(dict.dir, saving ? user.path().c_str() : nullptr);
  std::vector<Cost> select_costs, after_costs;
  for (auto _ : state) {
    for (int round = 0; round < (saving ? 3 : 30); ++round) {
      for (int first = 0; first < letter_count; ++first) {
        orn_reset(engine);
        orn_input(engine, letters[first].utf8);
        release(orn_candidates(engine));
        char* word = nullptr;
        select_costs.push_back(measure([&] { word = orn_select(engine, 0); }));
        release(word);
        char* list = nullptr;
        after_costs.push_back(measure([&] { list = orn_candidates(engine); }));
        release(list);
      }
    }
  }
  report(state, select_costs);
  std::vector<double> after;
  for (const Cost& c : after_costs)
    after.push_back(c.wall_us);
  std::sort(after.begin(), after.end());
  state.counters["predictions_p50_us"] = after[after.size() / 2];
  orn_engine_free(engine);
}
BENCHMARK(BM_Pick)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"small", "save"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The save behind a counted pick, by size of the user's table: lock, read and merge the file,
// write a temporary file, fsync, rename, fsync the directory.
void BM_SaveUserFile(benchmark::State& state) {
  ornav::testing::TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  std::string text;
  for (std::int64_t i = 0; i < state.range(0); ++i)
    text += "word" + std::to_string(i) + "\t" + std::to_string(1 + i % 7) + "\n";
  ornav::testing::write_text(path, text);
  const ornav::FreqTable increment{{"word1", 1}};
  std::vector<Cost> costs;
  for (auto _ : state) {
    costs.push_back(measure([&] { ornav::merge_into_file(path, increment); }));
  }
  report(state, costs);
}
BENCHMARK(BM_SaveUserFile)
    ->Arg(100)
    ->Arg(2000)
    ->Arg(20000)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
