// The caret of the marked text is given in user-perceived characters and must reach the client in
// UTF-16 code units, never inside a character.
#include "platform/mac/text_ranges.h"

#include <gtest/gtest.h>

#include <string>

namespace ornav::mac_platform {
namespace {

// "salam" in the Arabic script: five letters, one UTF-16 unit each.
const std::string kSalam = "\xD8\xB3\xD8\xA7\xD9\x84\xD8\xA7\xD9\x85";

TEST(Utf16RangeOfCharacters, OneUnitPerLetterOfTheArabicScript) {
  EXPECT_EQ(utf16RangeOfCharacters(kSalam, TextRange{5, 0}), (Utf16Range{5, 0}));
  EXPECT_EQ(utf16RangeOfCharacters(kSalam, TextRange{1, 2}), (Utf16Range{1, 2}));
  EXPECT_EQ(utf16RangeOfCharacters("", TextRange{0, 0}), (Utf16Range{0, 0}));
}

TEST(Utf16RangeOfCharacters, ALetterWithItsMarksIsOneCharacterOfSeveralUnits) {
  // BEH + FATHA + SHADDA, then ALEF: two characters, four units.
  const std::string text = "\xD8\xA8\xD9\x8E\xD9\x91\xD8\xA7";
  EXPECT_EQ(utf16RangeOfCharacters(text, TextRange{1, 0}), (Utf16Range{3, 0}));
  EXPECT_EQ(utf16RangeOfCharacters(text, TextRange{2, 0}), (Utf16Range{4, 0}));
  EXPECT_EQ(utf16RangeOfCharacters(text, TextRange{0, 1}), (Utf16Range{0, 3}));
}

TEST(Utf16RangeOfCharacters, CharactersOutsideTheBasicPlaneTakeTwoUnits) {
  // U+1F600 then "a": the caret after both is at unit 3.
  const std::string text =
      "\xF0\x9F\x98\x80"
      "a";
  EXPECT_EQ(utf16RangeOfCharacters(text, TextRange{1, 0}), (Utf16Range{2, 0}));
  EXPECT_EQ(utf16RangeOfCharacters(text, TextRange{2, 0}), (Utf16Range{3, 0}));
  // A flag is one character of two code points, four units.
  EXPECT_EQ(utf16RangeOfCharacters("\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3", TextRange{1, 0}),
            (Utf16Range{4, 0}));
}

TEST(Utf16RangeOfCharacters, RangesPastTheEndAreClampedToTheText) {
  EXPECT_EQ(utf16RangeOfCharacters(kSalam, TextRange{6, 0}), (Utf16Range{5, 0}));
  EXPECT_EQ(utf16RangeOfCharacters(kSalam, TextRange{3, 10}), (Utf16Range{3, 2}));
  EXPECT_EQ(utf16RangeOfCharacters(kSalam, TextRange{TextRange::kNotFound, 0}), (Utf16Range{5, 0}));
  EXPECT_EQ(utf16RangeOfCharacters(kSalam, TextRange{2, INT64_MAX}), (Utf16Range{2, 3}));
  EXPECT_EQ(utf16RangeOfCharacters(kSalam, TextRange{-4, -1}), (Utf16Range{0, 0}));
}

TEST(Utf16RangeOfCharacters, IllFormedBytesCountAsTheReplacementsFoundationReceives) {
  // A truncated three-byte sequence becomes one U+FFFD, one unit; the caret after "a?b" is at 3.
  EXPECT_EQ(utf16RangeOfCharacters("a\xE2\x9C"
                                   "b",
                                   TextRange{3, 0}),
            (Utf16Range{3, 0}));
}

}  // namespace
}  // namespace ornav::mac_platform
