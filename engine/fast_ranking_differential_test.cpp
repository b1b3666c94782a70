// The fast ranking against the reference (ranking_reference.h) and the library's plain ranking, on
// random dictionaries with random index sizes and random states: every buffer length, contexts
// with few and with many pairs (their pairs outweighing the corpus counts or not) and without any,
// picks, cloud words, ties and saturated counts.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "fast_ranking.h"
#include "ranking_index_builder.h"
#include "ranking_reference.h"
#include "test_dict.h"
#include "utf8.h"

namespace ornav {
namespace {

using testing::KeyCounts;
using testing::reference_rank;
using testing::StateGenerator;
using testing::Table;
using testing::Words;

struct Scenario {
  KeyCounts unigram, bigram;
  Table user_freq, extra_dict;
  std::vector<std::string> pool;  // words as candidates show them
  std::vector<std::string> hubs;  // context words with many pairs
  IndexParams params;
  bool with_index = true;
};

Scenario make_scenario(StateGenerator& gen) {
  Scenario s;
  const int words = gen.pick(0, 2) == 0 ? gen.pick(0, 120) : gen.pick(200, 1500);
  // Counts: many ties, extremes (saturation, the exact-match bonus), or falling with the rank.
  const int count_kind = gen.pick(0, 2);
  const auto corpus_count = [&]() -> std::uint64_t {
    if (count_kind == 0) return std::uint64_t(gen.pick(0, 6));
    if (count_kind == 1) return gen.count();
    return std::uint64_t(200000 / gen.pick(1, 2000));
  };
  // Keys that are not UTF-8 keep the index from listing the prefixes above them: only some
  // dictionaries have them.
  const bool dirty = gen.pick(0, 3) == 0;
  for (int i = 0; i < words; ++i) {
    const int letters = gen.pick(2, 6);
    std::string w = dirty ? gen.word(letters) : gen.valid_word(letters);
    s.unigram[w] = corpus_count();
    s.pool.push_back(utf8::to_lossy(w));
  }
  for (int i = gen.pick(0, 30); i > 0; --i)
    s.pool.push_back(gen.valid_word(4));
  s.pool.push_back("");
  const auto from_pool = [&] { return s.pool[std::size_t(gen.pick(0, int(s.pool.size()) - 1))]; };

  // Context words with many pairs. In some dictionaries their pairs outweigh every corpus count
  // and tie often (pairs seen once, twice, three times), as in the shipped one: after such a word
  // the words with a pair come first, ordered by corpus count among equal pairs.
  const bool pairs_outweigh = gen.pick(0, 2) == 0;
  for (int i = gen.pick(0, 4); i > 0; --i) {
    std::string hub = gen.pick(0, 9) == 0 ? gen.word(2) : from_pool();
    for (int k = gen.pick(10, 700); k > 0; --k) {
      const std::string second = dirty && gen.pick(0, 19) == 0 ? gen.word(3) : from_pool();
      s.bigram[hub + '\x1F' + second] = pairs_outweigh        ? gen.pick(0, 3) * 100000
                                        : gen.pick(0, 3) == 0 ? gen.count()
                                                              : gen.pick(0, 40);
    }
    s.hubs.push_back(utf8::to_lossy(hub));
  }
  for (int i = gen.pick(0, 200); i > 0; --i)
    s.bigram[from_pool() + '\x1F' + from_pool()] = gen.count();
  // Picks: none, a few, or many (enough to fill a list on their own).
  const int picks = gen.pick(0, 3) == 0 ? gen.pick(0, 300) : gen.pick(0, 6);
  for (int i = picks; i > 0; --i) {
    const int kind = gen.pick(0, 5);
    s.user_freq[from_pool()] = kind == 0   ? 0
                               : kind == 1 ? gen.count()
                                           : std::uint64_t(gen.pick(1, 30));
  }
  // Cloud words: new ones, and known ones with counts below, at or above their corpus count.
  for (int i = gen.pick(0, 2) == 0 ? gen.pick(0, 400) : gen.pick(0, 20); i > 0; --i) {
    if (gen.pick(0, 1)) {
      s.extra_dict[gen.valid_word(4)] = corpus_count();
      continue;
    }
    const std::string w = from_pool();
    const auto known = s.unigram.find(w);
    s.extra_dict[w] = known != s.unigram.end() && gen.pick(0, 1)
                          ? known->second + std::uint64_t(gen.pick(-3, 3))
                          : corpus_count();
  }
  s.extra_dict.erase("");  // the TSV reader never yields an empty word

  s.with_index = gen.pick(0, 5) != 0;
  s.params.prefix_threshold = std::uint32_t(gen.pick(0, 60));
  s.params.prefix_list_limit = std::uint32_t(gen.pick(1, 160));
  s.params.context_threshold = std::uint32_t(gen.pick(0, 60));
  s.params.context_list_limit =
      std::uint32_t(gen.pick(0, 2) == 0 ? gen.pick(1, 8) : gen.pick(1, 160));
  return s;
}

std::optional<std::string> pick_context(StateGenerator& gen, const Scenario& s) {
  switch (gen.pick(0, 4)) {
    case 0:
      return std::nullopt;
    case 1:
    case 2:
      if (!s.hubs.empty()) return s.hubs[std::size_t(gen.pick(0, int(s.hubs.size()) - 1))];
      [[fallthrough]];
    default:
      return s.pool[std::size_t(gen.pick(0, int(s.pool.size()) - 1))];
  }
}

std::string pick_buffer(StateGenerator& gen, const Scenario& s) {
  if (gen.pick(0, 4) == 0) return {};  // prediction mode
  if (gen.pick(0, 9) == 0) return gen.valid_word(2);
  // A whole-character prefix of a known word, of any length, often a single character.
  const std::string& w = s.pool[std::size_t(gen.pick(0, int(s.pool.size()) - 1))];
  std::string prefix;
  const int letters = gen.pick(0, 2) == 0 ? 1 : gen.pick(1, 6);
  for (std::size_t at = 0; at < w.size() && letters > int(utf8::count_scalars(prefix));) {
    std::size_t len = 1;
    while (at + len < w.size() && (static_cast<unsigned char>(w[at + len]) & 0xC0) == 0x80)
      ++len;
    prefix.append(w, at, len);
    at += len;
  }
  return prefix;
}

TEST(FastRankingDifferential, MatchesTheReferenceOnRandomStates) {
  FastRanker ranker;  // one ranker for every state: leftovers must never leak
  RankingScratch scratch;
  Words fast, plain;
  std::map<FastRanker::Route, int> routes;
  int long_lists = 0;
  int merged_answers = 0;  // answered with listed pair words merged into the list
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    StateGenerator gen(seed);
    const Scenario s = make_scenario(gen);
    const fst::Map uni = testing::build_map(s.unigram);
    const fst::Map bi = testing::build_map(s.bigram);
    std::optional<RankingIndex> index;
    if (s.with_index) {
      auto built = build_ranking_index(uni, bi, s.params);
      ASSERT_TRUE(built);
      const auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(*built));
      IndexError why{};
      index = RankingIndex::open(*bytes, bytes, uni, bi, &why);
      ASSERT_TRUE(index) << "seed " << seed << ": " << describe(why);
    }
    const FreqTable user(s.user_freq.begin(), s.user_freq.end());
    const FreqTable extra(s.extra_dict.begin(), s.extra_dict.end());
    WordCounts user_counts{true}, extra_counts;
    user_counts.rebuild(user);
    extra_counts.rebuild(extra);
    const RankingAids aids{index ? &*index : nullptr, user_counts, extra_counts};

    for (int state = 0; state < 30; ++state) {
      const std::string buffer = pick_buffer(gen, s);
      const std::optional<std::string> prev_word = pick_context(gen, s);
      const RankingInput input{uni, bi, buffer, prev_word, user, extra};
      const std::uint64_t merged_before = ranker.counts().merged_context;
      ranker.rank(input, aids, fast);
      merged_answers += ranker.counts().merged_context > merged_before &&
                        ranker.last_route() != FastRanker::Route::plain;
      rank_candidates(input, scratch, plain);
      const Words want =
          reference_rank(s.unigram, s.bigram, buffer, prev_word, s.user_freq, s.extra_dict);
      ASSERT_EQ(fast, want) << "seed " << seed << ", state " << state << ", buffer '" << buffer
                            << "', context " << (prev_word ? "'" + *prev_word + "'" : "none");
      ASSERT_EQ(plain, want);
      ++routes[ranker.last_route()];
      long_lists += want.size() == list_limit;
    }
  }
  for (const auto& [route, n] : routes)
    std::printf("route %d: %d states\n", static_cast<int>(route), n);
  const FastRanker::Counts& counts = ranker.counts();
  std::printf("merged contexts %llu (%d answered), dropped by bound %llu, stopped %llu\n",
              static_cast<unsigned long long>(counts.merged_context), merged_answers,
              static_cast<unsigned long long>(counts.dropped_by_bound),
              static_cast<unsigned long long>(counts.stopped_early));
  // Every way through the fast ranking must have been taken, and often.
  EXPECT_GT(routes[FastRanker::Route::indexed_prefix], 1500);
  EXPECT_GT(routes[FastRanker::Route::walked_prefix], 3000);
  EXPECT_GT(routes[FastRanker::Route::indexed_prediction], 150);
  EXPECT_GT(routes[FastRanker::Route::plain], 1000);
  EXPECT_GT(long_lists, 2000);
  EXPECT_GT(merged_answers, 300);
  EXPECT_GT(counts.dropped_by_bound, 400u);
  EXPECT_GT(counts.stopped_early, 80u);
}

}  // namespace
}  // namespace ornav
