#include "key_text.h"

#include <gtest/gtest.h>

namespace ornav::dict {
namespace {

TEST(ShowKey, PairSeparatorBecomesTabAndOddBytesAreEscaped) {
  EXPECT_EQ(showKey("سالام"), "سالام");
  EXPECT_EQ(showKey("a\x1F"
                    "b"),
            "a\tb");
  EXPECT_EQ(showKey(std::string("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(showKey("back\\slash"), "back\\x5Cslash");
  EXPECT_EQ(showKey("\n\x7F"), "\\x0A\\x7F");
  // A truncated sequence and a lone continuation byte, around a valid letter.
  EXPECT_EQ(showKey("\xD8\xA8\xD8"), "ب\\xD8");
  EXPECT_EQ(showKey("\x80\xD8\xA8"), "\\x80ب");
  // A literal ␟ in a key would read back as the separator, so it is escaped too.
  EXPECT_EQ(showKey("a␟"), "a\\xE2\\x90\\x9F");
}

TEST(ParseKeyArgument, SeparatorSpellingsAndEscapes) {
  EXPECT_EQ(parseKeyArgument("a\tb"),
            "a\x1F"
            "b");
  EXPECT_EQ(parseKeyArgument("a␟b"),
            "a\x1F"
            "b");
  EXPECT_EQ(parseKeyArgument("\\xff\\x00"), std::string("\xFF\0", 2));
  EXPECT_EQ(parseKeyArgument("plain"), "plain");
  EXPECT_EQ(parseKeyArgument("\\x4"), std::nullopt);
  EXPECT_EQ(parseKeyArgument("\\y41"), std::nullopt);
  EXPECT_EQ(parseKeyArgument("\\xZZ"), std::nullopt);
}

TEST(ShowKey, EveryShownKeyParsesBackToItsBytes) {
  const std::string keys[] = {"",
                              "a\x1F"
                              "b",
                              std::string("\0\x1F\xFF\\\t", 5),
                              "\xF0\x9F\x98",
                              "كىتاب\x1Fئالما",
                              "x␟y"};
  for (const auto& key : keys) {
    const std::string shown = showKey(key);
    // A TAB in the shown form always stands for the separator; a real TAB byte is escaped.
    EXPECT_EQ(parseKeyArgument(shown), key) << shown;
  }
}

}  // namespace
}  // namespace ornav::dict
