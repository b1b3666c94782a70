// The engine's own small UTF-8 toolkit: it needs only the C runtime, so no Unicode library.
// Validity follows the Unicode standard: no overlong forms, no surrogates, nothing above U+10FFFF.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ornav::utf8 {

bool is_valid(std::string_view bytes);

// Number of Unicode scalar values in valid UTF-8 text (bytes that are not continuation bytes).
std::size_t count_scalars(std::string_view text);

// count_scalars() of valid text and is_valid() in one pass; empty for text that is not UTF-8.
std::optional<std::size_t> valid_scalar_count(std::string_view bytes);

// Appends `bytes` to `out` as text, each maximal invalid subsequence replaced by U+FFFD (the
// replacement practice the Unicode standard recommends).
void append_lossy(std::string& out, std::string_view bytes);
std::string to_lossy(std::string_view bytes);

// Byte length of the last character of valid UTF-8 text (0 for empty text): one byte when the
// last byte is ASCII, otherwise the whole sequence of the last character.
std::size_t last_char_size(std::string_view text);

}  // namespace ornav::utf8
