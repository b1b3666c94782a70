// Text rules shared by every layer of the application, on ICU: well-formed UTF-8, user-perceived
// characters (extended grapheme clusters: a letter with its marks, an emoji sequence, CR LF),
// trimming the way the system trims (Unicode White_Space at both ends), numeric characters, and
// strict decimal integers. The engine keeps its own small UTF-8 code, since it may link nothing
// but the C runtime.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav {

// True when `text` is well-formed UTF-8 (no stray bytes, overlong forms or encoded surrogates).
bool isValidUtf8(std::string_view text);

// `text` with every ill-formed byte sequence replaced by U+FFFD.
std::string toValidUtf8(std::string_view text);

// The code points of `text`, each as its own UTF-8 string; ill-formed bytes give U+FFFD.
std::vector<std::string> codePoints(std::string_view text);

// Number of code points; each ill-formed sequence counts as one.
std::size_t codePointCount(std::string_view text);

struct DecodedCharacter {
  char32_t codePoint;
  std::size_t size;  // bytes it took, 1 to 4
};

// The character that starts at byte `at`, or nothing when the bytes there are not well-formed
// UTF-8 (or `at` is past the end).
std::optional<DecodedCharacter> decodeUtf8At(std::string_view text, std::size_t at);

// Appends one code point as UTF-8; anything that is not a Unicode scalar value (a surrogate, a
// value above U+10FFFF) becomes U+FFFD, so the result stays well-formed.
void appendUtf8(std::string& out, char32_t codePoint);

// Removes Unicode White_Space characters (spaces, tabs, line breaks, NBSP, ideographic space ...)
// from both ends. Invalid UTF-8 is left as it is.
std::string trimWhitespaceAndNewlines(std::string_view text);

// Splits UTF-8 text into grapheme clusters. Invalid byte sequences are read as U+FFFD.
std::vector<std::string> splitCharacters(std::string_view text);

// Number of grapheme clusters in UTF-8 text (ill-formed bytes count as U+FFFD each).
std::size_t graphemeCount(std::string_view text);

// The first `limit` grapheme clusters of `text` (all of it when shorter). Invalid UTF-8 is
// replaced by U+FFFD first so the result is always valid UTF-8.
std::string prefixCharacters(std::string_view text, std::size_t limit);

// The text without its last grapheme cluster ("" stays "").
std::string dropLastGrapheme(std::string_view text);

// True when the first code point of `character` has a Unicode numeric type (decimal digits,
// other digits, fractions, Roman numerals, CJK numerals ...).
bool isNumericCharacter(std::string_view character);

// A decimal integer with an optional leading '+' or '-' and nothing else; absent on anything
// else, including overflow of a signed 64-bit value.
std::optional<std::int64_t> parseDecimalInteger(std::string_view text);

}  // namespace ornav
