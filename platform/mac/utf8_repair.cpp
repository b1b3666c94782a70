#include "utf8_repair.h"

#include <cstdint>

namespace ornav::mac_platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed sequence that starts at `at`, or the length of its maximal
// ill-formed prefix as a negative number (at least -1). Follows the well-formed byte table of
// the Unicode standard, which excludes overlong forms, surrogates and values past U+10FFFF.
int sequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  if (lead < 0x80) return 1;
  int length = 0;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return -1;
  }
  // The second byte has the lead's own range; later ones are plain continuation bytes.
  for (int i = 1; i < length; ++i) {
    if (at + i >= text.size()) return -i;
    const std::uint8_t next = byte(at + i);
    const bool inRange = i == 1 ? (next >= low && next <= high) : (next >= 0x80 && next <= 0xBF);
    if (!inRange) return -i;
  }
  return length;
}

}  // namespace

std::string repairUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const int length = sequenceLength(text, at);
    if (length > 0) {
      out.append(text.substr(at, static_cast<std::size_t>(length)));
      at += static_cast<std::size_t>(length);
    } else {
      out.append(kReplacement);
      at += static_cast<std::size_t>(-length);
    }
  }
  return out;
}

}  // namespace ornav::mac_platform
