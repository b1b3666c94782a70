#include "utf_text.h"

#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace ornav::corpus {
namespace {

icu::UnicodeString from_utf8(std::string_view text) {
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

}  // namespace

std::u32string utf32_from_utf8(std::string_view text) {
  const icu::UnicodeString s = from_utf8(text);
  std::u32string out(static_cast<size_t>(s.countChar32()), U'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n =
      s.toUTF32(reinterpret_cast<UChar32*>(out.data()), static_cast<int32_t>(out.size()), status);
  out.resize(U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING ? static_cast<size_t>(n)
                                                                            : 0);
  return out;
}

std::string utf8_from_utf32(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char32_t c : text)
    append_utf8(out, c);
  return out;
}

size_t utf8_length(std::string_view text) {
  // Stepping over the bytes, no copy: the evaluator calls this for every candidate it ranks.
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  size_t n = 0;
  for (int32_t i = 0; i < length; ++n)
    U8_FWD_1(bytes, i, length);
  return n;
}

void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) cp = 0xFFFD;
  char bytes[U8_MAX_LENGTH];
  int32_t length = 0;
  U8_APPEND_UNSAFE(bytes, length, static_cast<UChar32>(cp));
  out.append(bytes, static_cast<size_t>(length));
}

}  // namespace ornav::corpus
