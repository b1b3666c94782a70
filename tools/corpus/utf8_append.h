// Appends one code point as UTF-8, for the readers that decode escapes. Anything that is not a
// Unicode scalar value (a surrogate, a value above U+10FFFF) becomes U+FFFD, so decoded text is
// always valid UTF-8.
#pragma once

#include <unicode/utf8.h>

#include <cstdint>
#include <string>

namespace ornav::corpus {

inline void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) cp = 0xFFFD;
  char bytes[U8_MAX_LENGTH];
  std::int32_t length = 0;
  U8_APPEND_UNSAFE(bytes, length, static_cast<UChar32>(cp));
  out.append(bytes, static_cast<std::size_t>(length));
}

}  // namespace ornav::corpus
