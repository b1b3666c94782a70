#include "services/service_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ornav {
namespace {

using ::testing::ElementsAre;

TEST(ServiceText, TrimsUnicodeWhiteSpaceOnly) {
  EXPECT_EQ(trimWhitespaceAndNewlines(" \t\r\n x y \n"), "x y");
  EXPECT_EQ(trimWhitespaceAndNewlines("\xC2\xA0\xE3\x80\x80x\xE2\x80\xA8"),
            "x");                                                          // NBSP, U+3000, LS
  EXPECT_EQ(trimWhitespaceAndNewlines("\xE2\x80\x8Bx"), "\xE2\x80\x8Bx");  // ZWSP is no space
  EXPECT_EQ(trimWhitespaceAndNewlines("   "), "");
  EXPECT_EQ(trimWhitespaceAndNewlines(""), "");
  EXPECT_EQ(trimWhitespaceAndNewlines(" \xFF "), "\xFF");
}

TEST(ServiceText, CountsUserPerceivedCharacters) {
  // e + combining acute, a flag of two regional indicators, an Arabic letter.
  EXPECT_THAT(splitCharacters("e\xCC\x81\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3\xD8\xA8"),
              ElementsAre("e\xCC\x81", "\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3", "\xD8\xA8"));
  EXPECT_THAT(splitCharacters("\r\n"), ElementsAre("\r\n"));
  EXPECT_TRUE(splitCharacters("").empty());
}

TEST(ServiceText, PrefixCutsAtCharacterBoundaries) {
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

TEST(ServiceText, DecimalIntegersAreStrict) {
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

TEST(ServiceText, NumericCharacters) {
  EXPECT_TRUE(isNumericCharacter("7"));
  EXPECT_TRUE(isNumericCharacter("\xD9\xA3"));      // Arabic-Indic three
  EXPECT_TRUE(isNumericCharacter("\xC2\xBD"));      // one half
  EXPECT_TRUE(isNumericCharacter("\xE2\x85\xA2"));  // Roman numeral three
  EXPECT_FALSE(isNumericCharacter("a"));
  EXPECT_FALSE(isNumericCharacter("+"));
  EXPECT_FALSE(isNumericCharacter(""));
}

}  // namespace
}  // namespace ornav
