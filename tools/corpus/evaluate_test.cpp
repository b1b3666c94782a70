#include "evaluate.h"

#include <gtest/gtest.h>

namespace ornav::corpus {
namespace {

TEST(Evaluate, FirstLetterHitCostsTwoKeys) {
  // ئالما (5 letters) is the only word under ئ: one letter and a pick instead of 5 + space.
  EvaluationResult r = evaluate({{"ئالما", 5}}, {}, {"ئالما"});
  EXPECT_EQ(r.words, 1u);
  EXPECT_EQ(r.keys_without, 6u);
  EXPECT_EQ(r.keys_with, 2u);
  EXPECT_EQ(r.completed_words, 1u);
  EXPECT_DOUBLE_EQ(r.savings(), 1.0 - 2.0 / 6.0);
}

TEST(Evaluate, UnknownWordsAreTypedOut) {
  EvaluationResult r = evaluate({{"بار", 5}}, {}, {"يوق"});
  EXPECT_EQ(r.unknown_words, 1u);
  EXPECT_EQ(r.keys_with, r.keys_without);
  EXPECT_DOUBLE_EQ(r.unknown_rate(), 1.0);
}

TEST(Evaluate, WordBelowTheFirstRowNeedsMoreLetters) {
  // Six words under ب outrank بالا; after "با" only بالا and باغ remain.
  std::map<std::string, uint64_t> words = {{"بىر", 90},   {"بۇ", 80},  {"بەك", 70}, {"بۈگۈن", 60},
                                           {"بېرىش", 50}, {"باغ", 40}, {"بالا", 1}};
  EvaluationResult r = evaluate(words, {}, {"بالا"}, {.learning = false, .row = 5, .unscored = {}});
  EXPECT_EQ(r.keys_with, 3u);  // two letters and the pick
}

TEST(Evaluate, ContinuationIsTakenBeforeAnyLetter) {
  std::map<std::string, uint64_t> words = {{"ھۆججەت", 3}, {"ئاچ", 2}};
  std::map<PairKey, uint64_t> pairs = {{{"ھۆججەت", "ئاچ"}, 4}};
  EvaluationResult r = evaluate(words, pairs, {"ھۆججەت ئاچ"});
  EXPECT_EQ(r.predicted_words, 1u);
  EXPECT_EQ(r.keys_with, 2u + 1u);  // ھ + pick, then one pick
  // Across a punctuation mark there is no context to predict from.
  EvaluationResult split = evaluate(words, pairs, {"ھۆججەت، ئاچ"});
  EXPECT_EQ(split.predicted_words, 0u);
}

TEST(Evaluate, LearningLiftsPickedWords) {
  // بالا loses to five stronger words on its first letter until the user has picked it.
  std::map<std::string, uint64_t> words = {{"بىر", 90},   {"بۇ", 80},    {"بەك", 70},
                                           {"بۈگۈن", 60}, {"بېرىش", 50}, {"بالا", 1}};
  std::vector<std::string> text = {"بالا", "بالا"};
  EvaluationResult without =
      evaluate(words, {}, text, {.learning = false, .row = 5, .unscored = {}});
  EvaluationResult with = evaluate(words, {}, text, {.learning = true, .row = 5, .unscored = {}});
  EXPECT_EQ(without.keys_with, 3u + 3u);
  EXPECT_EQ(with.keys_with, 3u + 2u);
}

TEST(Evaluate, UnscoredWordsGiveContextButNoFigures) {
  std::map<std::string, uint64_t> words = {{"نى", 1}, {"ئۆچۈر", 2}};
  std::map<PairKey, uint64_t> pairs = {{{"نى", "ئۆچۈر"}, 3}};
  EvaluationOptions o;
  o.unscored = {"نى"};
  EvaluationResult r = evaluate(words, pairs, {"نى ئۆچۈر"}, o);
  EXPECT_EQ(r.words, 1u);
  EXPECT_EQ(r.keys_without, 6u);
  EXPECT_EQ(r.keys_with, 1u);
}

TEST(Evaluate, EmptyInput) {
  EvaluationResult r = evaluate({}, {}, {"", "abc 123"});
  EXPECT_EQ(r.words, 0u);
  EXPECT_DOUBLE_EQ(r.savings(), 0.0);
  EXPECT_DOUBLE_EQ(r.unknown_rate(), 0.0);
}

}  // namespace
}  // namespace ornav::corpus
