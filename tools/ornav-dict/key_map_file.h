// The key map as the tool needs it, read by the input method's own parser: keymap.json is a
// top-level object whose member "map" is an object of string values (typed string -> text).
// Three optional members refine it and are empty when missing or of another shape:
//   "initial"     -> text a key types instead when nothing is being composed (a word begins);
//   "punctuation" -> text committed straight to the client, ending the word;
//   "digraphs"    -> the letter two keys typed one after the other spell (the ULY layout).
// The inverse says which keys a user presses to produce a given word; the keys are replayed
// with the input method's own rules (core/word_spelling.h).
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/key_map.h"

namespace ornav::dict {

using KeyTable = std::map<std::string, std::string>;  // typed string -> output text

struct KeyMapTables {
  KeyTable map = {};
  KeyTable initial = {};
  KeyTable punctuation = {};
  KeyTable digraphs = {};
};

// Nothing (with *why) for text that is not JSON, a top level that is not an object, no "map"
// member, or a "map" with any non-string value.
std::optional<KeyMapTables> parseKeyMapJson(std::string_view json, std::string* why);

struct KeyPress {
  std::string typed;      // the key event's characters
  std::string output;     // what it appends to the composition
  std::size_t erase = 0;  // letters it takes off first (the second key of a two-key spelling)
};

struct TypedText {
  std::vector<KeyPress> keys;  // in order
  std::size_t presses = 0;     // key presses; Shift belongs to its key, so "E" is one press
};

// The inverse of a key map: the cheapest way to type a word from an empty composition.
class Typist {
 public:
  explicit Typist(const KeyMapTables& tables);

  // Fewest presses that produce exactly `word`, starting a new word; nothing when some part
  // cannot be produced.
  std::optional<TypedText> type(std::string_view word) const;

  // What one key event appends: its "initial" text when nothing is composed yet, else its
  // "map" text; nothing when the key has no entry or is punctuation (which ends the word).
  // Two-key spellings are not seen here: replay() types with them.
  std::optional<std::string> output(std::string_view typed, bool composing) const;

  // The key events typed one after the other into an empty composition, as the input method
  // types them (two-key spellings, the separating key, word-initial forms). It stops before the
  // first key that types nothing or is punctuation, so fewer keys than events mean that one.
  TypedText replay(const std::vector<std::string>& events) const;

 private:
  struct Way {
    std::string output;
    std::string typed;
    std::size_t presses;
  };
  static std::vector<Way> cheapestWays(const KeyTable& table);
  // The keys of a path of ways in a map with two-key spellings: each spelling as its two keys,
  // the separating key where two keys would otherwise spell a letter together.
  std::optional<TypedText> spell(const std::vector<const Way*>& path, std::string_view word) const;

  KeyMapTables tables_;
  KeyMap keys_;                           // the same tables, for the input method's rules
  std::optional<std::string> separator_;  // the cheapest key that types ئ
  std::vector<Way> ways_;                 // cheapest typed string per output, inside a word
  std::vector<Way> start_ways_;           // the same for the first key of a word
};

// Splits a command-line argument into key events: one per character.
std::vector<std::string> splitKeyEvents(std::string_view typed);

}  // namespace ornav::dict
