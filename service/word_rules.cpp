#include "word_rules.h"

#include <algorithm>
#include <array>

#include "base/text.h"

namespace ornav::service {
namespace {

// The letters of the alphabet as the key map writes them (hamza seat U+0626 included), sorted.
constexpr std::array<char32_t, 33> kLetters = {
    0x0626, 0x0627, 0x0628, 0x062A, 0x062C, 0x062E, 0x062F, 0x0631, 0x0632, 0x0633, 0x0634,
    0x063A, 0x0641, 0x0642, 0x0643, 0x0644, 0x0645, 0x0646, 0x0648, 0x0649, 0x064A, 0x067E,
    0x0686, 0x0698, 0x06AD, 0x06AF, 0x06BE, 0x06C6, 0x06C7, 0x06C8, 0x06CB, 0x06D0, 0x06D5,
};

}  // namespace

bool isDictionaryWord(std::string_view word) {
  std::size_t letters = 0;
  for (std::size_t at = 0; at < word.size();) {
    const auto decoded = decodeUtf8At(word, at);
    if (!decoded || !std::binary_search(kLetters.begin(), kLetters.end(), decoded->codePoint)) {
      return false;
    }
    at += decoded->size;
    if (++letters > kLongestWord) return false;
  }
  return letters >= kShortestWord;
}

}  // namespace ornav::service
