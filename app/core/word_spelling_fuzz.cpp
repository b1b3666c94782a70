// Fuzzes key maps and the keys typed with them: the bytes before the first NUL are a key-map
// file, the rest key events of one character each. Whatever the map, no key crashes the word's
// memory, and in a map with two-key spellings Backspace takes back exactly what a key did, after
// which the same key does the same again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/text.h"
#include "core/word_spelling.h"

using namespace ornav;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  if (split == std::string_view::npos) return 0;
  auto file = parseKeyMap(input.substr(0, split));
  if (!file) return 0;
  const KeyMap keys(std::move(*file));
  const bool spelling = !keys.extras().digraphs.empty();
  WordSpelling spelling_state;
  std::string composing;
  for (const std::string& key : codePoints(input.substr(split + 1))) {
    const auto edit = spelling_state.press(keys, key, composing);
    if (!edit) continue;
    const std::string typed = applySpellingEdit(composing, *edit);
    if (spelling) {
      const auto back = spelling_state.takeBack(keys, typed);
      if (!back || applySpellingEdit(typed, *back) != composing) std::abort();
      if (spelling_state.press(keys, key, composing) != edit) std::abort();
    }
    composing = typed;
  }
  return 0;
}
