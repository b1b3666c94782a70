// Ranges across the Foundation boundary. The ports count the marked text's selection in
// user-perceived characters, while Foundation strings and the client's NSRange values count UTF-16
// code units; a letter with its marks, or a character outside the Basic Multilingual Plane, is
// more than one unit, so the caret would otherwise land inside a character.
#pragma once

#include <cstdint>
#include <string_view>

#include "ports/text_client.h"

namespace ornav::mac_platform {

struct Utf16Range {
  std::uint64_t location = 0;
  std::uint64_t length = 0;
  friend bool operator==(const Utf16Range&, const Utf16Range&) = default;
};

// The UTF-16 range of `characters` (user-perceived characters) within `text`, as the text reaches
// Foundation (ill-formed UTF-8 repaired first). Parts past the end of the text are clamped to it,
// and a negative location or length counts as 0.
Utf16Range utf16RangeOfCharacters(std::string_view text, TextRange characters);

}  // namespace ornav::mac_platform
