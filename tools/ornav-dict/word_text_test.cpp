#include "word_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ornav::dict {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SplitWords, LettersRunUntilAnythingElse) {
  EXPECT_THAT(splitWords("ياخشىمۇسىز، دوستلار! 2024-يىلى abc ئالما."),
              ElementsAre("ياخشىمۇسىز", "دوستلار", "يىلى", "ئالما"));
  EXPECT_THAT(splitWords("«كىتاب»؟"), ElementsAre("كىتاب"));
  EXPECT_THAT(splitWords("  ,.123 "), IsEmpty());
}

TEST(SplitWords, DropsMarksAKeyboardNeverTypesAndFoldsKeheh) {
  // tatweel, a fatha, ZWNJ and a right-to-left mark inside, keheh instead of kaf
  EXPECT_THAT(splitWords("كـىتاَب\u200C\u200Fلار ک"), ElementsAre("كىتابلار", "ك"));
}

TEST(SplitWords, StrayBytesSeparateWords) {
  EXPECT_THAT(splitWords("ئالما\xFFنان"), ElementsAre("ئالما", "نان"));
}

TEST(SplitTextIntoLines, KeepsLinesApart) {
  const auto lines = splitTextIntoLines("بىر ئىككى\r\n\nئۈچ");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_THAT(lines[0], ElementsAre("بىر", "ئىككى"));
  EXPECT_THAT(lines[1], IsEmpty());
  EXPECT_THAT(lines[2], ElementsAre("ئۈچ"));
  EXPECT_THAT(splitTextIntoLines(""), IsEmpty());
}

}  // namespace
}  // namespace ornav::dict
