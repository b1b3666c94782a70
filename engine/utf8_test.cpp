#include "utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ornav::utf8 {
namespace {

const std::string fffd = "\xEF\xBF\xBD";

TEST(Utf8Validity, AcceptsEveryEncodingLength) {
  EXPECT_TRUE(is_valid(""));
  EXPECT_TRUE(is_valid("abc"));
  EXPECT_TRUE(is_valid("\xD8\xA7\xDB\x95"));      // Uyghur letters, two bytes each
  EXPECT_TRUE(is_valid("\xE2\x80\x80"));          // U+2000
  EXPECT_TRUE(is_valid("\xF0\x9F\x98\x80"));      // U+1F600
  EXPECT_TRUE(is_valid("\xF4\x8F\xBF\xBF"));      // U+10FFFF
  EXPECT_TRUE(is_valid(std::string("a\0b", 3)));  // NUL is a valid character
}

TEST(Utf8Validity, RejectsMalformedSequences) {
  EXPECT_FALSE(is_valid("\x80"));              // lone continuation
  EXPECT_FALSE(is_valid("\xC0\x80"));          // overlong NUL
  EXPECT_FALSE(is_valid("\xC1\xBF"));          // overlong
  EXPECT_FALSE(is_valid("\xE0\x9F\xBF"));      // overlong three-byte
  EXPECT_FALSE(is_valid("\xED\xA0\x80"));      // surrogate U+D800
  EXPECT_FALSE(is_valid("\xF0\x8F\xBF\xBF"));  // overlong four-byte
  EXPECT_FALSE(is_valid("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(is_valid("\xF5\x80\x80\x80"));
  EXPECT_FALSE(is_valid("\xFF"));
  EXPECT_FALSE(is_valid("\xD8"));      // truncated at the end
  EXPECT_FALSE(is_valid("\xE2\x80"));  // truncated at the end
  EXPECT_FALSE(
      is_valid("ab\xD8"
               "c"));  // continuation missing in the middle
}

TEST(Utf8Lossy, ReplacesEachMaximalInvalidSubpartOnce) {
  EXPECT_EQ(to_lossy("abc"), "abc");
  EXPECT_EQ(to_lossy("a\xFF"
                     "b"),
            "a" + fffd + "b");
  // A truncated three-byte sequence is one maximal subpart: one replacement.
  EXPECT_EQ(to_lossy("\xE2\x80"
                     "a"),
            fffd + "a");
  // Two stray continuation bytes are two subparts.
  EXPECT_EQ(to_lossy("\x80\x80"), fffd + fffd);
  // A surrogate's lead cannot start a valid sequence with that second byte: three replacements.
  EXPECT_EQ(to_lossy("\xED\xA0\x80"), fffd + fffd + fffd);
  EXPECT_EQ(to_lossy("\xF0\x9F\x98"), fffd);
  EXPECT_EQ(to_lossy("\xD8\xA7\xC0"), "\xD8\xA7" + fffd);
  EXPECT_TRUE(is_valid(to_lossy("\xF4\x90\x80\x80\xC3")));
}

TEST(Utf8Counting, CountsScalarValuesNotBytes) {
  EXPECT_EQ(count_scalars(""), 0u);
  EXPECT_EQ(count_scalars("abc"), 3u);
  EXPECT_EQ(count_scalars("\xD8\xA7\xDB\x95"), 2u);
  EXPECT_EQ(count_scalars("\xF0\x9F\x98\x80"
                          "a"),
            2u);
}

// The one-pass count must agree with validation and counting done apart, on text made of pieces
// of valid sequences, lone continuation bytes, overlong and surrogate forms, cut anywhere.
TEST(Utf8Counting, OnePassAgreesWithValidatingAndCountingApart) {
  const std::vector<std::string> pieces = {"a",
                                           "\x7F",
                                           "\xD8\xA8",
                                           "\xD8",
                                           "\xA8",
                                           "\xE2\x82\xAC",
                                           "\xE2\x82",
                                           "\xF0\x9F\x98\x80",
                                           "\xF0",
                                           "\xC0\x80",
                                           "\xED\xA0\x80",
                                           "\xF4\x90\x80\x80",
                                           "\xFF",
                                           ""};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 6);
    for (int k = 0; k < count; ++k)
      text += pieces[random() % pieces.size()];
    const auto counted = valid_scalar_count(text);
    ASSERT_EQ(counted.has_value(), is_valid(text)) << testing::PrintToString(text);
    if (counted) {
      EXPECT_EQ(*counted, count_scalars(text)) << testing::PrintToString(text);
    }
  }
}

TEST(Utf8LastChar, RemovesWholeCharacters) {
  EXPECT_EQ(last_char_size(""), 0u);
  EXPECT_EQ(last_char_size("a"), 1u);
  EXPECT_EQ(last_char_size("\xD8\xA7"), 2u);
  EXPECT_EQ(last_char_size("a\xE2\x80\x80"), 3u);
  EXPECT_EQ(last_char_size("\xD8\xA7\xF0\x9F\x98\x80"), 4u);
  EXPECT_EQ(last_char_size("\xD8\xA7"
                           "b"),
            1u);
}

}  // namespace
}  // namespace ornav::utf8
