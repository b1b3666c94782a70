#include "base/text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ornav {
namespace {

using ::testing::ElementsAre;

TEST(Text, TrimsUnicodeWhiteSpaceOnly) {
  EXPECT_EQ(trimWhitespaceAndNewlines(" \t\r\n x y \n"), "x y");
  EXPECT_EQ(trimWhitespaceAndNewlines("\xC2\xA0\xE3\x80\x80x\xE2\x80\xA8"),
            "x");                                                          // NBSP, U+3000, LS
  EXPECT_EQ(trimWhitespaceAndNewlines("\xE2\x80\x8Bx"), "\xE2\x80\x8Bx");  // ZWSP is no space
  EXPECT_EQ(trimWhitespaceAndNewlines("   "), "");
  EXPECT_EQ(trimWhitespaceAndNewlines(""), "");
  EXPECT_EQ(trimWhitespaceAndNewlines(" \xFF "), "\xFF");
}

TEST(Text, CountsUserPerceivedCharacters) {
  // e + combining acute, a flag of two regional indicators, an Arabic letter.
  EXPECT_THAT(splitCharacters("e\xCC\x81\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3\xD8\xA8"),
              ElementsAre("e\xCC\x81", "\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3", "\xD8\xA8"));
  EXPECT_THAT(splitCharacters("\r\n"), ElementsAre("\r\n"));
  EXPECT_TRUE(splitCharacters("").empty());
}

TEST(Text, PrefixCutsAtCharacterBoundaries) {
  EXPECT_EQ(prefixCharacters("abcdef", 3), "abc");
  EXPECT_EQ(prefixCharacters("abc", 3), "abc");
  EXPECT_EQ(prefixCharacters("abc", 0), "");
  EXPECT_EQ(prefixCharacters("e\xCC\x81"
                             "e\xCC\x81"
                             "e",
                             2),
            "e\xCC\x81"
            "e\xCC\x81");
  EXPECT_EQ(prefixCharacters("\xD8\xA8\xD8\xA8\xD8\xA8", 2), "\xD8\xA8\xD8\xA8");
  // Broken bytes become U+FFFD so the result is always UTF-8.
  EXPECT_EQ(prefixCharacters("a\xFF"
                             "bcd",
                             3),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(Text, DecimalIntegersAreStrict) {
  EXPECT_EQ(parseDecimalInteger("42"), 42);
  EXPECT_EQ(parseDecimalInteger("+7"), 7);
  EXPECT_EQ(parseDecimalInteger("-7"), -7);
  EXPECT_EQ(parseDecimalInteger("007"), 7);
  EXPECT_EQ(parseDecimalInteger("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(parseDecimalInteger("-9223372036854775808"), INT64_MIN);
  EXPECT_FALSE(parseDecimalInteger("9223372036854775808"));
  EXPECT_FALSE(parseDecimalInteger("-9223372036854775809"));
  EXPECT_FALSE(parseDecimalInteger(""));
  EXPECT_FALSE(parseDecimalInteger("+"));
  EXPECT_FALSE(parseDecimalInteger(" 1"));
  EXPECT_FALSE(parseDecimalInteger("1 "));
  EXPECT_FALSE(parseDecimalInteger("1e3"));
  EXPECT_FALSE(parseDecimalInteger("+-1"));
  EXPECT_FALSE(parseDecimalInteger("\xD9\xA3"));
}

TEST(Text, NumericCharacters) {
  EXPECT_TRUE(isNumericCharacter("7"));
  EXPECT_TRUE(isNumericCharacter("\xD9\xA3"));      // Arabic-Indic three
  EXPECT_TRUE(isNumericCharacter("\xC2\xBD"));      // one half
  EXPECT_TRUE(isNumericCharacter("\xE2\x85\xA2"));  // Roman numeral three
  EXPECT_FALSE(isNumericCharacter("a"));
  EXPECT_FALSE(isNumericCharacter("+"));
  EXPECT_FALSE(isNumericCharacter(""));
}

TEST(Grapheme, CountsUserPerceivedCharacters) {
  EXPECT_EQ(graphemeCount(""), 0u);
  EXPECT_EQ(graphemeCount("abc"), 3u);
  EXPECT_EQ(graphemeCount("ئالما"), 5u);
  EXPECT_EQ(graphemeCount("e\xCC\x81"), 1u);                         // e + combining acute
  EXPECT_EQ(graphemeCount("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"), 1u);  // thumbs up + skin tone
  EXPECT_EQ(graphemeCount("\r\n"), 1u);
  EXPECT_EQ(graphemeCount("a\xFF"), 2u);  // an ill-formed byte counts as one replacement
}

TEST(Grapheme, DropsTheLastCluster) {
  EXPECT_EQ(dropLastGrapheme(""), "");
  EXPECT_EQ(dropLastGrapheme("ab"), "a");
  EXPECT_EQ(dropLastGrapheme("xe\xCC\x81"), "x");
  EXPECT_EQ(dropLastGrapheme("سالام"), "سالا");
  EXPECT_EQ(dropLastGrapheme("a\r\n"), "a");
}

TEST(Text, DecodesOneCharacterAtATime) {
  const std::string text = "aئ\xF0\x9F\x91\x8D";
  ASSERT_TRUE(decodeUtf8At(text, 0));
  EXPECT_EQ(decodeUtf8At(text, 0)->codePoint, U'a');
  EXPECT_EQ(decodeUtf8At(text, 1)->codePoint, U'\u0626');
  EXPECT_EQ(decodeUtf8At(text, 1)->size, 2u);
  EXPECT_EQ(decodeUtf8At(text, 3)->size, 4u);
  EXPECT_FALSE(decodeUtf8At(text, 2));            // a continuation byte
  EXPECT_FALSE(decodeUtf8At(text, 99));           // past the end
  EXPECT_FALSE(decodeUtf8At("\xC0\x80", 0));      // overlong
  EXPECT_FALSE(decodeUtf8At("\xED\xA0\x80", 0));  // a surrogate
  EXPECT_EQ(codePointCount(text), 3u);
  EXPECT_EQ(codePointCount("a\xFF"), 2u);
  EXPECT_EQ(codePoints("a\xFFب"), (std::vector<std::string>{"a", "\xEF\xBF\xBD", "ب"}));
}

TEST(Text, AppendsScalarValuesAndReplacesTheRest) {
  std::string out;
  appendUtf8(out, U'a');
  appendUtf8(out, U'\u06D5');
  appendUtf8(out, U'\U0001F44D');
  appendUtf8(out, 0xD800);
  appendUtf8(out, 0x110000);
  EXPECT_EQ(out, "aە\xF0\x9F\x91\x8D\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_TRUE(isValidUtf8(out));
}

}  // namespace
}  // namespace ornav
