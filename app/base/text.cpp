#include "base/text.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <limits>
#include <memory>

namespace ornav {
namespace {

// Decodes one code point at `i`, advancing it; negative for an invalid sequence.
UChar32 nextCodePoint(std::string_view text, int32_t& i) {
  UChar32 c = 0;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  U8_NEXT(bytes, i, static_cast<int32_t>(text.size()), c);
  return c;
}

// One character break iterator per thread: creating one loads ICU rule data.
icu::BreakIterator* characterIterator() {
  thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) it.reset();
    return it;
  }();
  return iterator.get();
}

// Calls `each(begin, end)` with the UTF-16 offsets of every grapheme cluster of `text` until it
// returns false.
template <typename Each>
void forEachCharacter(const icu::UnicodeString& text, Each each) {
  icu::BreakIterator* it = characterIterator();
  if (it == nullptr) {
    // Without ICU data fall back to code points, which is still safe.
    for (int32_t i = 0; i < text.length();) {
      const int32_t next = text.moveIndex32(i, 1);
      if (!each(i, next)) return;
      i = next;
    }
    return;
  }
  it->setText(text);
  int32_t begin = it->first();
  for (int32_t end = it->next(); end != icu::BreakIterator::DONE; end = it->next()) {
    if (!each(begin, end)) return;
    begin = end;
  }
}

}  // namespace

bool isValidUtf8(std::string_view text) {
  if (text.size() > INT32_MAX) return false;
  int32_t i = 0;
  while (i < static_cast<int32_t>(text.size())) {
    if (nextCodePoint(text, i) < 0) return false;
  }
  return true;
}

std::string toValidUtf8(std::string_view text) {
  // Text is nearly always well formed: one pass to check, and a copy only of what needs mending.
  if (isValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  int32_t i = 0;
  const auto size = static_cast<int32_t>(text.size());
  while (i < size) {
    const int32_t start = i;
    const UChar32 c = nextCodePoint(text, i);
    if (c < 0) {
      out += "\xEF\xBF\xBD";
    } else {
      out.append(text.substr(start, i - start));
    }
  }
  return out;
}

std::string trimWhitespaceAndNewlines(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto size = static_cast<int32_t>(text.size());
  int32_t begin = 0;
  while (begin < size) {
    int32_t next = begin;
    const UChar32 c = nextCodePoint(text, next);
    if (c < 0 || !u_isUWhiteSpace(c)) break;
    begin = next;
  }
  int32_t end = size;
  while (end > begin) {
    int32_t previous = end;
    UChar32 c = 0;
    U8_PREV(bytes, begin, previous, c);
    if (c < 0 || !u_isUWhiteSpace(c)) break;
    end = previous;
  }
  return std::string(text.substr(begin, end - begin));
}

std::vector<std::string> splitCharacters(std::string_view text) {
  std::vector<std::string> pieces;
  const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(toValidUtf8(text));
  forEachCharacter(unicode, [&](int32_t begin, int32_t end) {
    std::string piece;
    unicode.tempSubStringBetween(begin, end).toUTF8String(piece);
    pieces.push_back(std::move(piece));
    return true;
  });
  return pieces;
}

std::string prefixCharacters(std::string_view text, std::size_t limit) {
  std::string valid = toValidUtf8(text);
  // No more bytes than the limit means no more characters either: nothing to cut.
  if (valid.size() <= limit) return valid;
  const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(valid);
  std::size_t count = 0;
  int32_t cut = unicode.length();
  forEachCharacter(unicode, [&](int32_t begin, int32_t) {
    if (count == limit) {
      cut = begin;
      return false;
    }
    ++count;
    return true;
  });
  if (cut == unicode.length()) return valid;
  std::string out;
  unicode.tempSubStringBetween(0, cut).toUTF8String(out);
  return out;
}

std::vector<std::string> codePoints(std::string_view text) {
  std::vector<std::string> points;
  const std::string valid = toValidUtf8(text);
  int32_t i = 0;
  const auto size = static_cast<int32_t>(valid.size());
  while (i < size) {
    const int32_t start = i;
    nextCodePoint(valid, i);
    points.emplace_back(valid.substr(start, i - start));
  }
  return points;
}

std::size_t codePointCount(std::string_view text) {
  std::size_t count = 0;
  int32_t i = 0;
  while (i < static_cast<int32_t>(text.size())) {
    nextCodePoint(text, i);
    ++count;
  }
  return count;
}

std::optional<DecodedCharacter> decodeUtf8At(std::string_view text, std::size_t at) {
  if (at >= text.size() || text.size() > INT32_MAX) return std::nullopt;
  auto i = static_cast<int32_t>(at);
  const UChar32 c = nextCodePoint(text, i);
  if (c < 0) return std::nullopt;
  return DecodedCharacter{static_cast<char32_t>(c), static_cast<std::size_t>(i) - at};
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000)) codePoint = 0xFFFD;
  char bytes[U8_MAX_LENGTH];
  int32_t length = 0;
  U8_APPEND_UNSAFE(bytes, length, static_cast<UChar32>(codePoint));
  out.append(bytes, static_cast<std::size_t>(length));
}

std::size_t graphemeCount(std::string_view text) {
  if (text.empty()) return 0;
  const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(toValidUtf8(text));
  std::size_t count = 0;
  forEachCharacter(unicode, [&](int32_t, int32_t) {
    ++count;
    return true;
  });
  return count;
}

std::string dropLastGrapheme(std::string_view text) {
  if (text.empty()) return {};
  const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(toValidUtf8(text));
  int32_t cut = 0;
  forEachCharacter(unicode, [&](int32_t begin, int32_t) {
    cut = begin;  // the last cluster's start, once the walk ends
    return true;
  });
  std::string out;
  unicode.tempSubString(0, cut).toUTF8String(out);
  return out;
}

std::optional<std::int64_t> parseDecimalInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulate as a negative number so that the minimum value parses too.
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::int64_t value = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    const int digit = ch - '0';
    if (value < (kMin + digit) / 10) return std::nullopt;
    value = value * 10 - digit;
  }
  if (negative) return value;
  if (value == kMin) return std::nullopt;
  return -value;
}

bool isNumericCharacter(std::string_view character) {
  if (character.empty()) return false;
  int32_t i = 0;
  const UChar32 c = nextCodePoint(character, i);
  return c >= 0 && u_getIntPropertyValue(c, UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

}  // namespace ornav
