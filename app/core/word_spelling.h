// What a letter key does to the word being composed, and what Backspace takes back, in any key
// map; shared by the input controller and the dictionary tool so both type the same way.
//
// In a key map with two-key spellings (a "digraphs" table, the ULY layout):
// - a key that completes a spelling with the key typed just before it in the same word replaces
//   the letter that key typed (s h: س becomes ش); a key that completed a spelling starts none;
// - the key that types ئ, right after a consonant, only separates: it shows nothing, the next key
//   completes no spelling with the one before it (n ' g: نگ), and the next key is typed as at
//   the start of a word, so a vowel brings its ئ (mes'ul: مەسئۇل). After a vowel it types ئ;
// - Backspace takes back the last key, whatever it typed (n g ⌫ leaves ن, n ' ⌫ leaves n).
// Without the table every key types its text, its word-initial text when nothing is composed.
//
// The memory of the word's keys is checked against the composition at every call: when the
// composition is not the one the keys made (a pick, a commit, Escape, another layout), the keys
// are forgotten and the word goes on from what is shown.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/key_map.h"

namespace ornav {

struct SpellingEdit {
  std::size_t erase = 0;  // letters to take off the end of the composition first
  std::string input;      // then the text to append
  friend bool operator==(const SpellingEdit&, const SpellingEdit&) = default;
};

// `text` after `edit`.
std::string applySpellingEdit(std::string text, const SpellingEdit& edit);

class WordSpelling {
 public:
  // What the key `typed` does to the composition `composing` (the text shown now); nothing when
  // it types nothing in `keys`. The key is remembered as part of the word.
  std::optional<SpellingEdit> press(const KeyMap& keys, const std::string& typed,
                                    const std::string& composing);

  // What Backspace does in a key map with two-key spellings: take back the last key. Nothing
  // without the table, or when the keys that made `composing` are not known; then Backspace
  // takes off one letter as it always does.
  std::optional<SpellingEdit> takeBack(const KeyMap& keys, const std::string& composing);

 private:
  enum class Kind { letter, spelled, separator };
  struct Step {
    std::string typed;
    Kind kind;
    std::string erased;  // what the key took off the composition
    std::string added;   // what it appended
  };

  void follow(const std::string& composing);
  SpellingEdit record(Step step, const std::string& composing);

  std::vector<Step> steps_;
  std::string shown_;  // the composition the remembered keys made
};

}  // namespace ornav
