// The UTF-8 conversions the corpus tools share, all done by ICU. Invalid UTF-8 decodes to U+FFFD;
// a value that is not a Unicode scalar value encodes as U+FFFD, so produced text is always valid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ornav::corpus {

std::u32string utf32_from_utf8(std::string_view text);
std::string utf8_from_utf32(std::u32string_view text);

// Number of Unicode scalar values (an invalid sequence counts as one).
size_t utf8_length(std::string_view text);

// Appends one code point; readers that decode escapes use it.
void append_utf8(std::string& out, std::uint32_t code_point);

}  // namespace ornav::corpus
