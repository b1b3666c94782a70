// The key map window: the layout the input method types with, drawn as a keyboard. Each key cap
// shows the Latin key, the letter it types and, in the accent colour, the letter Shift types when
// that differs; below the keyboard the word-initial forms, the punctuation keys and the keys that
// have no place on the three letter rows. Everything shown comes from the key map itself, so
// another layout draws its own keyboard.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/key_map.h"
#include "ports/dialog_window.h"

namespace ornav::key_map_window {

inline constexpr const char* kTitle = "键位表";

// One key as the window draws it.
struct KeyCap {
  std::string key;                       // the Latin key printed on the cap
  std::optional<std::string> text;       // what it types; absent: the key reaches the application
  std::optional<std::string> shiftText;  // what Shift with it types, when that differs
  friend bool operator==(const KeyCap&, const KeyCap&) = default;
};

// A group of caps under the keyboard with its title and a short note on its rule.
struct Section {
  std::string title;
  std::string note;
  std::vector<KeyCap> caps;
  friend bool operator==(const Section&, const Section&) = default;
};

struct Layout {
  std::vector<std::vector<KeyCap>> keyboard;  // the three letter rows of a Latin keyboard
  std::vector<Section> sections;              // only those with caps
  friend bool operator==(const Layout&, const Layout&) = default;
};

Layout layoutOf(const KeyMap& keyMap);

// The letter keys whose Shift layer types a letter of its own, as (Shift key, letter), in
// alphabetical order: what a user has to learn beyond the plain keys.
std::vector<std::pair<std::string, std::string>> shiftLetters(const KeyMap& keyMap);

// The window for `keyMap`; the letters it types are drawn in `letterFont` (its size is ignored).
WindowDescription describe(const KeyMap& keyMap, const Font& letterFont);

}  // namespace ornav::key_map_window
