#include "normalize.h"

#include <string>

#include <gtest/gtest.h>

#include "markup.h"

namespace ornav::corpus {
namespace {

const std::string P(kLineBreak);

TEST(Normalize, PresentationFormsFoldToLetters) {
  // ئالما written with contextual forms: initial hamza-yeh, final alef, initial lam, ...
  EXPECT_EQ(normalize_plain("\uFE8B\uFE8E\uFEDF\uFEE4\uFE8E"), "ئالما");
  // The Uyghur ligature of ئ and ا is one code point in the presentation block.
  EXPECT_EQ(normalize_plain("\uFBEAلما"), "ئالما");
  // Presentation forms of the Uyghur vowels.
  EXPECT_EQ(normalize_plain("\uFBE4"), "ې");
  EXPECT_EQ(normalize_plain("\uFBD9"), "ۆ");
}

TEST(Normalize, KehehBecomesKaf) {
  EXPECT_EQ(normalize_plain("کىتاب"), "كىتاب");
  EXPECT_EQ(normalize_plain("\uFB90\uFB91"), "كك");  // keheh presentation forms too
}

TEST(Normalize, InvisibleMarksAreRemoved) {
  EXPECT_EQ(normalize_plain("كىـــتاب"), "كىتاب");           // tatweel
  EXPECT_EQ(normalize_plain("كى\u200Cتاب\u200D"), "كىتاب");  // ZWNJ, ZWJ
  EXPECT_EQ(normalize_plain("\u200Fكىتاب\u200E"), "كىتاب");  // RLM, LRM
  EXPECT_EQ(normalize_plain("\u202Bكىتاب\u202C \u2067ئالما\u2069"), "كىتاب ئالما");
  EXPECT_EQ(normalize_plain("\u061Cكىتاب"), "كىتاب");        // Arabic letter mark
  EXPECT_EQ(normalize_plain("كِتَابٌ"), "كتاب");                // harakat
  EXPECT_EQ(normalize_plain("\uFEFFكىتاب\u00AD"), "كىتاب");  // BOM, soft hyphen
}

TEST(Normalize, HamzaAboveOnAlefMaksuraIsTheCarrier) {
  EXPECT_EQ(normalize_plain("ى\u0654الما"), "ئالما");
  EXPECT_EQ(normalize_plain("ي\u0654الما"), "ئالما");  // NFKC composes this one itself
}

TEST(Normalize, WhiteSpaceAndLineBreaks) {
  EXPECT_EQ(normalize_plain("  بىر \t\u00A0 ئىككى  "), "بىر ئىككى");
  EXPECT_EQ(normalize_plain("بىر\nئىككى"), "بىر" + P + "ئىككى");
  EXPECT_EQ(normalize_plain("بىر \r\n ئىككى\n"), "بىر" + P + "ئىككى");
  EXPECT_EQ(normalize_plain("بىر\u200Bئىككى"), "بىر ئىككى");  // zero-width space separates
  EXPECT_EQ(normalize_plain(""), "");
  EXPECT_EQ(normalize_plain(" \n "), "");
}

TEST(Normalize, InvalidUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(normalize_plain("بىر\xFFئىككى"), "بىر\uFFFDئىككى");
  EXPECT_EQ(normalize_plain("\xD8"), "\uFFFD");  // a truncated sequence
}

TEST(Normalize, MarkupIsStrippedBeforeFolding) {
  EXPECT_EQ(normalize_text("<b>ئې_چىش</b> %s"), "ئېچىش " + std::string(kBreak));
  EXPECT_EQ(normalize_text("&amp;ساقلاش"), std::string(kBreak) + "ساقلاش");
}

}  // namespace
}  // namespace ornav::corpus
