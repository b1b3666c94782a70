// Making text well-formed (what crosses into Foundation, the log, the panel): ill-formed parts are
// replaced as the Unicode standard recommends (one U+FFFD per maximal ill-formed subsequence),
// nothing else changes.
#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace ornav {
namespace {

const std::string kFFFD = "\xEF\xBF\xBD";

TEST(ToValidUtf8, WellFormedTextIsUnchanged) {
  for (const std::string& text :
       {std::string(), std::string("salam"),
        std::string("\xD8\xB3\xD8\xA7\xD9\x84\xD8\xA7\xD9\x85"), std::string("\xE2\x9C\x85 ok"),
        std::string("\xF0\x9F\x98\x80"), std::string("a\0b", 3), std::string("\xF4\x8F\xBF\xBF")}) {
    EXPECT_EQ(toValidUtf8(text), text);
  }
}

TEST(ToValidUtf8, LoneAndStrayBytesBecomeOneReplacementEach) {
  EXPECT_EQ(toValidUtf8("a\x80"
                        "b"),
            "a" + kFFFD + "b");
  EXPECT_EQ(toValidUtf8("\xBF\xBF"), kFFFD + kFFFD);
  EXPECT_EQ(toValidUtf8("\xFF"), kFFFD);
  EXPECT_EQ(toValidUtf8("\xC0\xAF"), kFFFD + kFFFD);  // overlong lead bytes are never valid
}

TEST(ToValidUtf8, TruncatedSequenceIsOneReplacement) {
  EXPECT_EQ(toValidUtf8("\xE2\x9C"), kFFFD);
  EXPECT_EQ(toValidUtf8("\xF0\x9F\x98"
                        "x"),
            kFFFD + "x");
  EXPECT_EQ(toValidUtf8("x\xD8"), "x" + kFFFD);
}

TEST(ToValidUtf8, SecondByteOutsideTheLeadsRangeEndsTheSubsequenceAtTheLead) {
  EXPECT_EQ(toValidUtf8("\xE0\x80\x80"), kFFFD + kFFFD + kFFFD);  // overlong three-byte form
  EXPECT_EQ(toValidUtf8("\xED\xA0\x80"), kFFFD + kFFFD + kFFFD);  // UTF-16 surrogate
  EXPECT_EQ(toValidUtf8("\xF4\x90\x80\x80"), kFFFD + kFFFD + kFFFD + kFFFD);  // past U+10FFFF
  EXPECT_EQ(toValidUtf8("\xF0\x8F\xBF\xBF"), kFFFD + kFFFD + kFFFD + kFFFD);  // overlong
}

TEST(ToValidUtf8, LastByteOfAValidRangeIsAccepted) {
  EXPECT_EQ(toValidUtf8("\xED\x9F\xBF"), "\xED\x9F\xBF");  // U+D7FF, just below the surrogates
  EXPECT_EQ(toValidUtf8("\xE0\xA0\x80"), "\xE0\xA0\x80");  // U+0800, the first three-byte value
  EXPECT_EQ(toValidUtf8("\xF0\x90\x80\x80"), "\xF0\x90\x80\x80");  // U+10000
}

TEST(ToValidUtf8, ResultIsWellFormedForEveryTwoByteInput) {
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const std::string input{static_cast<char>(first), static_cast<char>(second)};
      const std::string once = toValidUtf8(input);
      EXPECT_EQ(toValidUtf8(once), once) << first << " " << second;
    }
  }
}

}  // namespace
}  // namespace ornav
