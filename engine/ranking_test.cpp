#include "ranking.h"

#include <gtest/gtest.h>

#include "saturating.h"
#include "test_dict.h"

namespace ornav {
namespace {

using testing::KeyCounts;
using testing::pair_key;
using Words = std::vector<std::string>;

// One engine state, spelled out, ranked through the library's single entry point.
struct State {
  KeyCounts unigram;
  KeyCounts bigram;
  std::string buffer;
  std::optional<std::string> prev_word;
  FreqTable user_freq;
  FreqTable extra_dict;

  Words rank() const {
    const fst::Map uni = testing::build_map(unigram);
    const fst::Map bi = testing::build_map(bigram);
    RankingScratch scratch;
    Words out;
    rank_candidates({uni, bi, buffer, prev_word, user_freq, extra_dict}, scratch, out);
    return out;
  }
};

// Uyghur letters used in the examples.
const std::string alef = "\xD8\xA7", be = "\xD8\xA8", te = "\xD8\xAA", mim = "\xD9\x85";

TEST(RankingModes, NothingWithoutBufferOrContext) {
  State s;
  s.unigram = {{"a", 1}};
  s.bigram = {{pair_key("a", "b"), 1}};
  EXPECT_EQ(s.rank(), Words{});
  s.buffer = "z";  // no word begins with it: the buffer itself is not offered
  EXPECT_EQ(s.rank(), Words{});
  s.buffer.clear();
  s.prev_word = "nothing-follows";
  EXPECT_EQ(s.rank(), Words{});
}

TEST(RankingPrefix, WorkedExample) {
  const std::string b = be + alef, x = b + te, y = b + mim, c = mim + alef;
  State s;
  s.unigram = {{b, 5}, {x, 500}, {y, 20}, {c, 1000}, {be, 900}};
  s.bigram = {{pair_key(c, y), 3}};
  s.buffer = b;
  s.prev_word = c;
  s.user_freq = {{y, 1}};
  EXPECT_EQ(s.rank(), (Words{b, y, x}));
}

TEST(RankingPrefix, ExactMatchBonusAndItsLimit) {
  State s;
  s.unigram = {{"ab", 1}, {"abc", 1000000}, {"abd", exact_match_bonus}, {"abe", 3}};
  s.buffer = "ab";
  // The exact word scores 2^50 + 1, just above a word whose count is 2^50.
  EXPECT_EQ(s.rank(), (Words{"ab", "abd", "abc", "abe"}));
  s.unigram["abd"] = exact_match_bonus + 2;
  EXPECT_EQ(s.rank(), (Words{"abd", "ab", "abc", "abe"}));
}

TEST(RankingPrefix, EqualScoresPreferFewerCharactersThenBytes) {
  State s;
  const std::string short_but_wide = "k" + alef + alef;  // 3 characters, 5 bytes
  s.unigram = {{short_but_wide, 7}, {"kabc", 7}, {"kb", 7}, {"ka", 7}, {"k" + be, 7}};
  s.buffer = "k";
  EXPECT_EQ(s.rank(), (Words{"ka", "kb", "k" + be, short_but_wide, "kabc"}));
}

TEST(RankingPrefix, CloudDictionaryAddsWordsAndTakesTheLargerCount) {
  State s;
  s.unigram = {{"sa", 10}, {"sb", 30}, {"x", 1000}};
  s.buffer = "s";
  s.extra_dict = {{"sc", 20}, {"sa", 40}, {"sb", 5}, {"s", 1}, {"other", 99}};
  // sa: max(10, 40) = 40, not 50; sb keeps 30; s equals the buffer and earns the bonus.
  EXPECT_EQ(s.rank(), (Words{"s", "sa", "sb", "sc"}));
  s.extra_dict = {{"sa", 25}};
  EXPECT_EQ(s.rank(), (Words{"sb", "sa"}));
}

TEST(RankingPrefix, PairCountWeighsHundredAndPicksHundredThousand) {
  State s;
  s.unigram = {{"pa", 399}, {"pb", 100}, {"pc", 100099}};
  s.bigram = {{pair_key("ctx", "pb"), 3}, {pair_key("ctx", "pa"), 0}, {pair_key("ctx", "q"), 9}};
  s.buffer = "p";
  s.prev_word = "ctx";
  EXPECT_EQ(s.rank(), (Words{"pc", "pb", "pa"}));  // pb: 100 + 300 = 400 > 399
  s.user_freq = {{"pa", 1}};
  EXPECT_EQ(s.rank(), (Words{"pa", "pc", "pb"}));  // pa: 100399 > 100099
}

TEST(RankingPrefix, TheFiftyBestOfManyWords) {
  State s;
  for (int i = 0; i < 60; ++i) {
    s.unigram[std::string("w") + char('A' + i % 26) + std::to_string(i)] = 1000 - i;
  }
  s.buffer = "w";
  const Words got = s.rank();
  ASSERT_EQ(got.size(), list_limit);
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(got[i], std::string("w") + char('A' + i % 26) + std::to_string(i));
}

TEST(RankingPrefix, WordsKnownOnlyToTheUserAreNeverCandidates) {
  State s;
  s.unigram = {{"da", 1}};
  s.buffer = "d";
  s.user_freq = {{"db", 50}, {"da", 1}};
  EXPECT_EQ(s.rank(), (Words{"da"}));
}

TEST(RankingPrefix, ScoresSaturate) {
  State s;
  s.unigram = {{"m", max_count}, {"ma", max_count}, {"mb", max_count - 1}};
  s.bigram = {{pair_key("c", "ma"), max_count}};
  s.buffer = "m";
  s.prev_word = "c";
  s.user_freq = {{"mb", max_count}};
  // All three saturate to the same score: fewer characters first, then bytes.
  EXPECT_EQ(s.rank(), (Words{"m", "ma", "mb"}));
}

TEST(RankingPrefix, EmptyContextWordStillLooksUpPairs) {
  State s;
  s.unigram = {{"ea", 1}, {"eb", 2}};
  s.bigram = {{pair_key("", "ea"), 1}};
  s.buffer = "e";
  s.prev_word = "";
  EXPECT_EQ(s.rank(), (Words{"ea", "eb"}));
}

TEST(RankingPrefix, KeysWithInvalidUtf8BecomeReplacementText) {
  const std::string fffd = "\xEF\xBF\xBD";
  State s;
  // Three keys that all read as "k\uFFFD": the last in key order sets the base count.
  s.unigram = {{"k" + fffd, 9}, {"k\xFE", 7}, {"k\xFF", 5}, {"ka", 6}};
  s.buffer = "k";
  EXPECT_EQ(s.rank(), (Words{"ka", "k" + fffd}));
  s.extra_dict = {{"k" + fffd, 8}};
  EXPECT_EQ(s.rank(), (Words{"k" + fffd, "ka"}));
}

TEST(RankingPrediction, ContinuationsByPairCountAndPicks) {
  State s;
  s.bigram = {{pair_key("w", "a"), 10}, {pair_key("w", "bb"), 5},  {pair_key("w", "c"), 5},
              {pair_key("w", "d"), 30}, {pair_key("wx", "z"), 99}, {pair_key("v", "q"), 99}};
  s.unigram = {{"a", 1000000}};  // unigram counts play no part
  s.prev_word = "w";
  EXPECT_EQ(s.rank(), (Words{"d", "a", "bb", "c"}));  // equal scores keep key order
  s.user_freq = {{"c", 1}};
  EXPECT_EQ(s.rank(), (Words{"c", "d", "a", "bb"}));
  s.extra_dict = {{"e", 500}};  // nor does the cloud dictionary
  EXPECT_EQ(s.rank().size(), 4u);
}

TEST(RankingPrediction, PairCountIsNotWeighted) {
  State s;
  s.bigram = {{pair_key("w", "a"), 3}, {pair_key("w", "b"), 4}};
  s.prev_word = "w";
  s.user_freq = {{"a", 0}};
  EXPECT_EQ(s.rank(), (Words{"b", "a"}));
}

TEST(RankingPrediction, EmptyContinuationIsACandidate) {
  State s;
  s.bigram = {{pair_key("w", ""), 2}, {pair_key("w", "x"), 1}};
  s.prev_word = "w";
  EXPECT_EQ(s.rank(), (Words{"", "x"}));
}

TEST(RankingPrediction, CutsAtFifty) {
  State s;
  for (int i = 0; i < 70; ++i)
    s.bigram[pair_key("w", "n" + std::to_string(100 + i))] = i % 7;
  s.prev_word = "w";
  const Words got = s.rank();
  ASSERT_EQ(got.size(), list_limit);
  EXPECT_EQ(got.front(), "n106");  // first key with the highest count (6)
  EXPECT_EQ(got[1], "n113");
}

}  // namespace
}  // namespace ornav
