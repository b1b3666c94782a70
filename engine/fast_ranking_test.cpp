// The bounds of the fast ranking one by one, each on a dictionary made so that a wrong bound
// would drop or keep a word it must not, compared with the reference ranking.
#include "fast_ranking.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "ranking_index_builder.h"
#include "ranking_reference.h"
#include "test_dict.h"

namespace ornav {
namespace {

using testing::KeyCounts;
using testing::Table;
using testing::Words;

std::string numbered(const char* prefix, int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%03d", prefix, i);
  return text;
}

struct Case {
  KeyCounts unigram, bigram;
  Table user_freq, extra_dict;
  IndexParams params{.prefix_threshold = 4,
                     .prefix_list_limit = 60,
                     .context_threshold = 4,
                     .context_list_limit = 3};

  // `count` words a000, a001, ... with counts falling by 10 from `top`.
  void add_words(int count, std::uint64_t top) {
    for (int i = 0; i < count; ++i)
      unigram[numbered("a", i)] = top - 10 * std::uint64_t(i);
  }

  // Ranks with the fast path and checks the result against the reference.
  Words rank(const std::string& buffer, const std::optional<std::string>& context,
             FastRanker::Route expected_route) {
    const fst::Map uni = testing::build_map(unigram);
    const fst::Map bi = testing::build_map(bigram);
    auto built = build_ranking_index(uni, bi, params);
    EXPECT_TRUE(built);
    const auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(*built));
    const auto index = RankingIndex::open(*bytes, bytes, uni, bi);
    EXPECT_TRUE(index);
    const FreqTable user(user_freq.begin(), user_freq.end());
    const FreqTable extra(extra_dict.begin(), extra_dict.end());
    WordCounts user_counts{true}, extra_counts;
    user_counts.rebuild(user);
    extra_counts.rebuild(extra);
    FastRanker ranker;
    Words got;
    ranker.rank({uni, bi, buffer, context, user, extra},
                {index ? &*index : nullptr, user_counts, extra_counts}, got);
    EXPECT_EQ(ranker.last_route(), expected_route);
    EXPECT_EQ(got,
              testing::reference_rank(unigram, bigram, buffer, context, user_freq, extra_dict));
    return got;
  }
};

std::size_t position(const Words& words, const std::string& word) {
  return std::size_t(std::find(words.begin(), words.end(), word) - words.begin());
}

// A cloud word with a cloud count below its corpus count, beyond the processed part of the list,
// lifted over the cut by a pair: its bound must use the corpus floor, not the cloud count.
TEST(FastRankingBounds, CloudWordBelowItsCorpusCountLiftedByAPair) {
  Case c;
  c.add_words(120, 2000);                        // a000 = 2000 ... a049 = 1510 ... a055 = 1450
  c.extra_dict["a055"] = 10;                     // below its corpus count
  c.bigram[testing::pair_key("c", "a055")] = 3;  // 1450 + 300 = 1750
  const Words got = c.rank("a", "c", FastRanker::Route::indexed_prefix);
  EXPECT_LT(position(got, "a055"), 50u);
}

// Unlisted pairs of a context with many pairs: a cloud word just under the cut, lifted over it by
// an unlisted pair, must not be dropped by a bound that forgets the unlisted pairs.
TEST(FastRankingBounds, CloudWordLiftedByAnUnlistedPair) {
  Case c;
  c.params.prefix_list_limit = 120;  // long enough for the bound on unlisted pairs to hold
  c.add_words(120, 2000);
  for (int i = 0; i < 3; ++i)
    c.bigram[testing::pair_key("c", numbered("z", i))] = 50;  // listed, not under "a"
  for (int i = 3; i < 6; ++i)
    c.bigram[testing::pair_key("c", numbered("z", i))] = 1;
  c.bigram[testing::pair_key("c", "a900")] = 3;  // unlisted: rest_max is 3
  c.extra_dict["a900"] = 1450;                   // 1450 + 300 = 1750
  const Words got = c.rank("a", "c", FastRanker::Route::indexed_prefix);
  EXPECT_LT(position(got, "a900"), 50u);
}

// The same with a word that only an unlisted pair raises: the list is processed far enough that
// no such word can reach the cut, or the pairs are walked.
TEST(FastRankingBounds, CorpusWordLiftedByAnUnlistedPair) {
  for (const std::uint32_t list : {60u, 200u}) {
    Case c;
    c.params.prefix_list_limit = list;  // 60: the list ends before the bound holds
    c.add_words(120, 2000);
    for (int i = 0; i < 10; ++i)
      c.bigram[testing::pair_key("c", numbered("z", i))] = 50;
    c.bigram[testing::pair_key("c", "a052")] = 3;  // 1480 + 300 = 1780
    c.bigram[testing::pair_key("c", "a110")] = 4;  // 900 + 400 = 1300: out
    const Words got = c.rank("a", "c", FastRanker::Route::indexed_prefix);
    EXPECT_LT(position(got, "a052"), 50u) << list;
    EXPECT_EQ(position(got, "a110"), got.size()) << list;
  }
}

// At the cut, equal scores are decided by length and bytes: a bound equal to the 50th score still
// keeps a shorter word.
TEST(FastRankingBounds, TieAtTheCutKeepsTheShorterWord) {
  Case c;
  for (int i = 0; i < 80; ++i)
    c.unigram[numbered("a", i)] = 100;  // all tie
  c.extra_dict["az"] = 100;             // ties too, but has fewer characters
  c.extra_dict["a9999"] = 100;          // ties, more characters: out
  const Words got = c.rank("a", std::nullopt, FastRanker::Route::indexed_prefix);
  EXPECT_EQ(got.front(), "az");
  EXPECT_EQ(position(got, "a9999"), got.size());
  EXPECT_EQ(got.back(), "a048");
}

// Picks and the exact match raise words from anywhere under the buffer.
TEST(FastRankingBounds, PicksAndTheExactMatchFromDeepInTheList) {
  Case c;
  c.add_words(120, 2000);
  c.unigram["a"] = 1;
  c.user_freq["a110"] = 1;
  c.user_freq["b000"] = 5;  // not under the buffer
  const Words got = c.rank("a", std::nullopt, FastRanker::Route::indexed_prefix);
  EXPECT_EQ(got[0], "a");
  EXPECT_EQ(got[1], "a110");
}

// Prediction: a pick that is an unlisted continuation enters when its pair count and the pick
// together beat the cut, however small the pick alone is.
TEST(FastRankingBounds, PredictionPickBeyondTheList) {
  Case c;
  c.params.context_list_limit = 55;
  c.unigram["x"] = 1;
  for (int i = 0; i < 60; ++i)
    c.bigram[testing::pair_key("c", numbered("w", i))] = 1000000 + std::uint64_t(i);
  c.bigram[testing::pair_key("c", "u")] = 950000;  // unlisted; with one pick 1050000
  c.user_freq["u"] = 1;
  c.user_freq["nowhere"] = 3;  // no pair with "c"
  const Words got = c.rank("", "c", FastRanker::Route::indexed_prediction);
  EXPECT_EQ(got.front(), "u");
}

// More picks under the buffer than the list holds: they are visited from the most picked down and
// the visit ends at the cut, but not before a less picked word lifted by a large pair, or by a
// large cloud count (each case on its own, so that neither bound hides the other).
TEST(FastRankingBounds, ManyPicksStopAtTheCutButNotBeforeLargeRaises) {
  for (const bool by_pair : {true, false}) {
    Case c;
    c.add_words(200, 3000);
    for (int i = 0; i < 80; ++i)
      c.user_freq[numbered("a", 100 + i)] = 100 - std::uint64_t(i);  // 100 .. 21 picks
    c.user_freq["a199"] = 1;                                         // 100000 + ...
    if (by_pair) {
      c.bigram[testing::pair_key("c", "a199")] = 100000;  // ... 1010 + 10000000
    } else {
      c.extra_dict["a199"] = 50000000;  // ... 50000000
    }
    c.user_freq["b000"] = 1000;  // not under the buffer
    const Words got = c.rank("a", "c", FastRanker::Route::indexed_prefix);
    EXPECT_EQ(got[0], "a199");
    EXPECT_EQ(got[1], "a100");
    EXPECT_EQ(got.back(), "a148");
  }
}

// Many cloud words above the corpus counts: visited from the highest cloud count down, ending at
// the cut, but not before a lower one lifted by a pair.
TEST(FastRankingBounds, ManyCloudWordsStopAtTheCutButNotBeforeAPair) {
  Case c;
  c.add_words(200, 3000);
  for (int i = 0; i < 100; ++i)
    c.extra_dict[numbered("a", 100 + i)] = 10000 - 10 * std::uint64_t(i);  // 10000 .. 9010
  c.extra_dict["a900"] = 5000;                     // below all of them, but ...
  c.bigram[testing::pair_key("c", "a900")] = 100;  // ... 5000 + 10000
  c.bigram[testing::pair_key("c", "a901")] = 1;    // no corpus or cloud count: not a word
  const Words got = c.rank("a", "c", FastRanker::Route::indexed_prefix);
  EXPECT_EQ(got[0], "a900");
  EXPECT_EQ(got[1], "a100");
  EXPECT_EQ(got.back(), "a148");
}

// Prediction with more picked continuations than the list holds.
TEST(FastRankingBounds, PredictionWithManyPicks) {
  Case c;
  c.params.context_list_limit = 60;
  c.unigram["x"] = 1;
  for (int i = 0; i < 200; ++i)
    c.bigram[testing::pair_key("c", numbered("w", i))] = 1000 - std::uint64_t(i);
  for (int i = 100; i < 180; ++i)
    c.user_freq[numbered("w", i)] = 200 - std::uint64_t(i);  // 100 .. 21 picks
  c.user_freq["w199"] = 1;
  c.bigram[testing::pair_key("c", "w199")] = 90000000;  // a large pair lifts the least picked
  const Words got = c.rank("", "c", FastRanker::Route::indexed_prediction);
  EXPECT_EQ(got[0], "w199");
  EXPECT_EQ(got[1], "w100");
  EXPECT_EQ(got.back(), "w148");
}

// Saturated scores tie at the maximum and are then ordered by length and bytes.
TEST(FastRankingBounds, SaturatedScores) {
  Case c;
  constexpr std::uint64_t top = ~std::uint64_t{0};
  c.add_words(120, 2000);
  c.unigram["ab"] = top;
  c.extra_dict["a100"] = top;
  c.user_freq["a101"] = top / 1000;
  c.bigram[testing::pair_key("c", "a102")] = top / 10;
  const Words got = c.rank("a", "c", FastRanker::Route::indexed_prefix);
  EXPECT_EQ(Words(got.begin(), got.begin() + 4), (Words{"ab", "a100", "a101", "a102"}));
}

}  // namespace
}  // namespace ornav
