#include "services/text_rules.h"

#include <unicode/utf8.h>

#include <cstdint>

namespace ornav::text_rules {

bool isValidUTF8(std::string_view text) {
  if (text.size() > INT32_MAX) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto size = static_cast<int32_t>(text.size());
  int32_t i = 0;
  while (i < size) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, size, c);
    if (c < 0) return false;
  }
  return true;
}

}  // namespace ornav::text_rules
