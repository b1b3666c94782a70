// Small text rules shared by the service client: trimming the way the system trims
// (Unicode White_Space at both ends), counting user-perceived characters, and parsing a decimal
// integer strictly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav {

// True when `text` is well-formed UTF-8 (no stray bytes, overlong forms or encoded surrogates).
bool isValidUtf8(std::string_view text);

// Removes Unicode White_Space characters (spaces, tabs, line breaks, NBSP, ideographic space ...)
// from both ends. Invalid UTF-8 is left as it is.
std::string trimWhitespaceAndNewlines(std::string_view text);

// Splits UTF-8 text into grapheme clusters ("characters as the user sees them"). Invalid byte
// sequences are read as U+FFFD.
std::vector<std::string> splitCharacters(std::string_view text);

// The first `limit` user-perceived characters of `text` (all of it when shorter). Invalid UTF-8
// is replaced by U+FFFD first so the result is always valid UTF-8.
std::string prefixCharacters(std::string_view text, std::size_t limit);

// A decimal integer with an optional leading '+' or '-' and nothing else; absent on anything
// else, including overflow of a signed 64-bit value.
std::optional<std::int64_t> parseDecimalInteger(std::string_view text);

// True when the first code point of `character` has a Unicode numeric type (decimal digits,
// other digits, fractions, Roman numerals, CJK numerals ...).
bool isNumericCharacter(std::string_view character);

}  // namespace ornav
