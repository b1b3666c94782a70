// Small UTF-8 helpers for the dictionary tool: decoding one character at a time with strict
// validity (no overlong forms, no surrogates, nothing above U+10FFFF).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ornav::dict {

struct DecodedChar {
  char32_t code_point;
  std::size_t size;  // bytes it took, 1 to 4
};

// The character that starts at `at`, or nothing when the bytes there are not valid UTF-8.
std::optional<DecodedChar> decodeAt(std::string_view text, std::size_t at);

bool isValidUtf8(std::string_view text);

// Number of characters (Unicode scalar values) of valid UTF-8 text.
std::size_t countChars(std::string_view text);

void appendUtf8(std::string& out, char32_t code_point);

}  // namespace ornav::dict
