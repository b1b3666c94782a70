#include "utf_text.h"

#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include "base/text.h"

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
    appendUtf8(out, c);
  return out;
}

}  // namespace ornav::corpus
