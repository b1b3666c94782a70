#include "platform/mac/text_ranges.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"

namespace ornav::mac_platform {

namespace {

// UTF-16 code units of well-formed UTF-8: one per code point, two above U+FFFF.
std::uint64_t utf16Length(std::string_view text) {
  std::uint64_t units = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto decoded = decodeUtf8At(text, at);
    if (!decoded) break;  // cannot happen on repaired text
    units += decoded->codePoint > 0xFFFF ? 2 : 1;
    at += decoded->size;
  }
  return units;
}

}  // namespace

Utf16Range utf16RangeOfCharacters(std::string_view text, TextRange characters) {
  const std::string repaired = toValidUtf8(text);
  const std::vector<std::string> pieces = splitCharacters(repaired);
  const auto count = static_cast<std::int64_t>(pieces.size());
  const std::int64_t first = std::clamp<std::int64_t>(characters.location, 0, count);
  // Written so that a huge length cannot overflow.
  const std::int64_t length = std::clamp<std::int64_t>(characters.length, 0, count - first);
  std::uint64_t start = 0;
  for (std::int64_t i = 0; i < first; ++i)
    start += utf16Length(pieces[static_cast<std::size_t>(i)]);
  std::uint64_t units = 0;
  for (std::int64_t i = first; i < first + length; ++i)
    units += utf16Length(pieces[static_cast<std::size_t>(i)]);
  return Utf16Range{start, units};
}

}  // namespace ornav::mac_platform
