#include "word_text.h"

#include "base/text.h"

namespace ornav::dict {
namespace {

constexpr char32_t uyghurLetters[] = {
    U'\u0627', U'\u06D5', U'\u0628', U'\u067E', U'\u062A', U'\u062C', U'\u0686', U'\u062E',
    U'\u062F', U'\u0631', U'\u0632', U'\u0698', U'\u0633', U'\u0634', U'\u063A', U'\u0641',
    U'\u0642', U'\u0643', U'\u06AF', U'\u06AD', U'\u0644', U'\u0645', U'\u0646', U'\u06BE',
    U'\u0648', U'\u06C7', U'\u06C6', U'\u06C8', U'\u06CB', U'\u06D0', U'\u0649', U'\u064A',
    U'\u0626',  // hamza carrier
};

bool isIgnorable(char32_t c) {
  return c == U'\u0640'                   // tatweel
         || (c >= 0x064B && c <= 0x065F)  // harakat
         || c == 0x0670                   // superscript alef
         || c == 0x200C || c == 0x200D    // zero width non-joiner / joiner
         || c == 0x200E || c == 0x200F    // directional marks
         || c == 0x061C                   // Arabic letter mark
         || (c >= 0x202A && c <= 0x202E)  // embeddings and overrides
         || (c >= 0x2066 && c <= 0x2069)  // isolates
         || c == 0xFEFF;                  // byte order mark
}

}  // namespace

bool isUyghurLetter(char32_t c) {
  for (const char32_t letter : uyghurLetters) {
    if (c == letter) return true;
  }
  return false;
}

std::vector<std::string> splitWords(std::string_view line) {
  std::vector<std::string> words;
  std::string current;
  const auto flush = [&] {
    if (!current.empty()) words.push_back(std::move(current));
    current.clear();
  };
  for (std::size_t at = 0; at < line.size();) {
    const auto c = decodeUtf8At(line, at);
    if (!c) {  // a stray byte separates words like any other non-letter
      flush();
      ++at;
      continue;
    }
    at += c->size;
    char32_t cp = c->codePoint;
    if (isIgnorable(cp)) continue;
    if (cp == U'\u06A9') cp = U'\u0643';  // keheh -> kaf
    if (isUyghurLetter(cp)) {
      appendUtf8(current, cp);
    } else {
      flush();
    }
  }
  flush();
  return words;
}

std::vector<std::vector<std::string>> splitTextIntoLines(std::string_view text) {
  std::vector<std::vector<std::string>> lines;
  while (!text.empty()) {
    const auto lf = text.find('\n');
    lines.push_back(splitWords(text.substr(0, lf)));
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

}  // namespace ornav::dict
