#include "normalize.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "markup.h"

namespace ornav::corpus {
namespace {

constexpr char32_t kTatweel = 0x0640;
constexpr char32_t kKeheh = 0x06A9;
constexpr char32_t kKaf = 0x0643;
constexpr char32_t kAlefMaksura = 0x0649;  // ى, Uyghur i
constexpr char32_t kHamzaAbove = 0x0654;
constexpr char32_t kHamzaCarrier = 0x0626;  // ئ
constexpr char32_t kZeroWidthSpace = 0x200B;
constexpr char32_t kParagraphSeparator = 0x2029;

bool is_line_break(char32_t c) {
  return c == '\n' || c == '\r' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 ||
         c == kParagraphSeparator;
}

}  // namespace

std::string normalize_plain(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  if (U_FAILURE(status)) return {};
  // Invalid UTF-8 becomes U+FFFD, which later separates words like any other symbol.
  icu::UnicodeString source = icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  icu::UnicodeString folded = nfkc->normalize(source, status);
  if (U_FAILURE(status)) return {};

  std::u32string out;
  out.reserve(static_cast<size_t>(folded.length()));
  bool pending_space = false;
  bool pending_break = false;
  for (int32_t i = 0; i < folded.length(); i = folded.moveIndex32(i, 1)) {
    char32_t c = static_cast<char32_t>(folded.char32At(i));
    if (is_line_break(c)) {
      pending_break = true;
      continue;
    }
    if (c == kZeroWidthSpace || u_isUWhiteSpace(static_cast<UChar32>(c))) {
      pending_space = true;
      continue;
    }
    if (c == kHamzaAbove && !out.empty() && out.back() == kAlefMaksura) {
      out.back() = kHamzaCarrier;  // ى + hamza above is how some text spells ئ
      continue;
    }
    int8_t type = u_charType(static_cast<UChar32>(c));
    // Harakat and other combining marks, joiners, bidi controls, soft hyphen, BOM, tatweel:
    // none of them changes the word.
    if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK || type == U_FORMAT_CHAR ||
        c == kTatweel) {
      continue;
    }
    if (c == kKeheh) c = kKaf;
    if (!out.empty()) {
      if (pending_break) {
        out.push_back(kParagraphSeparator);
      } else if (pending_space) {
        out.push_back(' ');
      }
    }
    pending_space = pending_break = false;
    out.push_back(c);
  }
  std::string utf8;
  icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(out.data()),
                                static_cast<int32_t>(out.size()))
      .toUTF8String(utf8);
  return utf8;
}

std::string normalize_text(std::string_view raw) {
  return normalize_plain(strip_markup(raw));
}

}  // namespace ornav::corpus
