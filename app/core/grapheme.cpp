#include "core/grapheme.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace ornav {

namespace {

std::unique_ptr<icu::BreakIterator> characterIterator(const icu::UnicodeString& text) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> it(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status) || !it) return nullptr;
  it->setText(text);
  return it;
}

}  // namespace

std::size_t graphemeCount(std::string_view utf8) {
  if (utf8.empty()) return 0;
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  auto it = characterIterator(text);
  // Without break data, code points are the closest count that never over-counts a letter.
  if (!it) return static_cast<std::size_t>(text.countChar32());
  std::size_t count = 0;
  it->first();
  while (it->next() != icu::BreakIterator::DONE)
    ++count;
  return count;
}

std::string dropLastGrapheme(std::string_view utf8) {
  if (utf8.empty()) return {};
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  int32_t cut = 0;
  if (auto it = characterIterator(text)) {
    it->last();
    cut = it->previous();
    if (cut == icu::BreakIterator::DONE) cut = 0;
  } else {
    cut = text.moveIndex32(text.length(), -1);
  }
  std::string out;
  text.tempSubString(0, cut).toUTF8String(out);
  return out;
}

}  // namespace ornav
