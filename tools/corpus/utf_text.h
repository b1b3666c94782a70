// Conversions between UTF-8 and UTF-32 for the corpus tools, done by ICU (counting and appending
// single code points are in base/text.h). Invalid UTF-8 decodes to U+FFFD;
// a value that is not a Unicode scalar value encodes as U+FFFD, so produced text is always valid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ornav::corpus {

std::u32string utf32_from_utf8(std::string_view text);
std::string utf8_from_utf32(std::u32string_view text);

}  // namespace ornav::corpus
