#include "tokenize.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include "utf_text.h"

namespace ornav::corpus {
namespace {

constexpr char32_t kHamzaCarrier = 0x0626;

bool is_foreign_arabic_letter(char32_t c) {
  if (is_uyghur_letter(c) || !u_isalpha(static_cast<UChar32>(c))) return false;
  UErrorCode status = U_ZERO_ERROR;
  return uscript_getScript(static_cast<UChar32>(c), &status) == USCRIPT_ARABIC && U_SUCCESS(status);
}

bool is_space(char32_t c) {
  return c == ' ' || c == '\t';
}

}  // namespace

bool is_uyghur_letter(char32_t c) {
  switch (c) {
    case 0x0627:
    case 0x06D5:
    case 0x0628:
    case 0x067E:
    case 0x062A:
    case 0x062C:
    case 0x0686:
    case 0x062E:
    case 0x062F:
    case 0x0631:
    case 0x0632:
    case 0x0698:
    case 0x0633:
    case 0x0634:
    case 0x063A:
    case 0x0641:
    case 0x0642:
    case 0x0643:
    case 0x06AF:
    case 0x06AD:
    case 0x0644:
    case 0x0645:
    case 0x0646:
    case 0x06BE:
    case 0x0648:
    case 0x06C7:
    case 0x06C6:
    case 0x06C8:
    case 0x06CB:
    case 0x06D0:
    case 0x0649:
    case 0x064A:
    case kHamzaCarrier:
      return true;
    default:
      return false;
  }
}

bool is_uyghur_vowel(char32_t c) {
  switch (c) {
    case 0x0627:
    case 0x06D5:
    case 0x0648:
    case 0x06C7:
    case 0x06C6:
    case 0x06C8:
    case 0x06D0:
    case 0x0649:
      return true;
    default:
      return false;
  }
}

bool accept_word(std::u32string_view word, Rejection* why) {
  auto reject = [&](Rejection r) {
    if (why) *why = r;
    return false;
  };
  if (word.empty()) return false;
  if (is_uyghur_vowel(word.front())) return reject(Rejection::kBareVowelStart);
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] == kHamzaCarrier && (i + 1 == word.size() || !is_uyghur_vowel(word[i + 1]))) {
      return reject(Rejection::kHamzaWithoutVowel);
    }
  }
  return true;
}

TokenizedText tokenize(std::string_view normalized) {
  TokenizedText result;
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(normalized.data(), static_cast<int32_t>(normalized.size())));
  std::u32string chars;
  chars.reserve(static_cast<size_t>(text.length()));
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
    chars.push_back(static_cast<char32_t>(text.char32At(i)));
  }

  std::vector<std::string> run;
  auto end_run = [&] {
    if (!run.empty()) result.runs.push_back(std::move(run));
    run.clear();
  };
  size_t i = 0;
  while (i < chars.size()) {
    char32_t c = chars[i];
    if (is_space(c)) {
      ++i;
      continue;
    }
    if (!is_uyghur_letter(c)) {
      end_run();
      ++i;
      continue;
    }
    size_t start = i;
    while (i < chars.size() && is_uyghur_letter(chars[i]))
      ++i;
    std::u32string_view word(chars.data() + start, i - start);
    bool glued_to_foreign = (start > 0 && is_foreign_arabic_letter(chars[start - 1])) ||
                            (i < chars.size() && is_foreign_arabic_letter(chars[i]));
    Rejection why{};
    if (glued_to_foreign) why = Rejection::kForeignLetter;
    if (glued_to_foreign || !accept_word(word, &why)) {
      ++result.rejected;
      switch (why) {
        case Rejection::kBareVowelStart:
          ++result.rejected_bare_vowel;
          break;
        case Rejection::kHamzaWithoutVowel:
          ++result.rejected_hamza;
          break;
        case Rejection::kForeignLetter:
          ++result.rejected_foreign;
          break;
      }
      end_run();  // a dropped fragment separates its neighbours
      continue;
    }
    run.push_back(utf8_from_utf32(word));
  }
  end_run();
  return result;
}

}  // namespace ornav::corpus
