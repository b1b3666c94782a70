#include "evaluation.h"

#include <gtest/gtest.h>

#include <set>

#include "test_dir.h"
#include "word_text.h"

namespace ornav::dict {
namespace {

using testing::makeDictionary;
using testing::ScratchDir;

const KeyMapTables keys{.map = {{"a", "ا"},
                                {"b", "ب"},
                                {"e", "ە"},
                                {"E", "ې"},
                                {"k", "ك"},
                                {"l", "ل"},
                                {"m", "م"},
                                {"s", "س"},
                                {"S", "ش"},
                                {"t", "ت"},
                                {"d", "د"},
                                {"o", "و"},
                                {"n", "ن"}}};

// Six words beginning with ب outrank بەت, so typing ب alone never shows it in the first row;
// after بە only three words are left.
constexpr std::string_view words =
    "بابا\t100\nبالا\t90\nبانكا\t80\nباش\t70\nبەك\t60\nبەش\t50\nبەت\t1\n"
    "سالام\t500\nدوست\t40\n";
constexpr std::string_view pairs = "سالام\tدوست\t5\n";

class EvaluationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(makeDictionary(dict_.path(), words, pairs)); }

  EvalFigures run(std::string_view text, bool learning) {
    auto engine = EngineSession::open(
        dict_.path().string(), learning ? std::optional(user_.path().string()) : std::nullopt);
    EXPECT_TRUE(engine);
    EvalOptions options;
    options.learning = learning;
    const std::set<std::string, std::less<>> vocabulary{"بابا", "بالا", "بانكا", "باش", "بەك",
                                                        "بەش",  "بەت",  "سالام", "دوست"};
    options.in_vocabulary = [&](std::string_view w) { return vocabulary.contains(w); };
    return evaluate(*engine, Typist(keys), splitTextIntoLines(text), options);
  }

  ScratchDir dict_;
  ScratchDir user_;
};

TEST_F(EvaluationTest, PredictionsCandidatesAndRawCommitsCostWhatAUserPays) {
  // سالام: one letter then Space (2 keys). دوست: predicted after سالام (1 key).
  // سەن: unknown, typed whole and committed (3 letters + Space).
  const auto f = run("سالام دوست سەن", true);
  EXPECT_EQ(f.words, 3u);
  EXPECT_EQ(f.letters, 12u);
  EXPECT_EQ(f.keys, 2u + 1u + 4u);
  EXPECT_EQ(f.from_predictions, 1u);
  EXPECT_EQ(f.from_candidates, 1u);
  EXPECT_EQ(f.typed_whole, 1u);
  EXPECT_EQ(f.out_of_vocabulary, 1u);
  EXPECT_EQ(f.baselineKeys(), 15u);
  EXPECT_DOUBLE_EQ(f.keystrokeSavings(), 1.0 - 7.0 / 15.0);
  EXPECT_DOUBLE_EQ(f.predictionShare(), 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(f.outOfVocabularyRate(), 1.0 / 3.0);
}

TEST_F(EvaluationTest, LearningLiftsAPickedWordOnlyWhenOn) {
  // Each line starts afresh, so only learning can change the second line's cost.
  const auto on = run("بەت\nبەت\n", true);
  EXPECT_EQ(on.keys, 3u + 2u);  // ب ە Space, then ب Space
  const auto off = run("بەت\nبەت\n", false);
  EXPECT_EQ(off.keys, 3u + 3u);
  EXPECT_EQ(off.from_candidates, 2u);
}

TEST_F(EvaluationTest, ShiftedLettersCostOneKeyAndUntypeableWordsAreSkipped) {
  // ش is on Shift+S: one press. The word with ق cannot be typed with this key map.
  const auto f = run("شەش قول", true);
  EXPECT_EQ(f.words, 1u);
  EXPECT_EQ(f.untypeable, 1u);
  EXPECT_EQ(f.keys, 4u);  // three letters, none predicted, then Space
  EXPECT_EQ(f.typed_whole, 1u);
}

TEST_F(EvaluationTest, NoWordsNoFigures) {
  const auto f = run("123, ...", true);
  EXPECT_EQ(f.words, 0u);
  EXPECT_EQ(f.keystrokeSavings(), 0.0);
  EXPECT_EQ(f.predictionShare(), 0.0);
}

}  // namespace
}  // namespace ornav::dict
