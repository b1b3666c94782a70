// The key map: what a key press typed on a Latin layout stands for in Arabic script. One per
// process, owned by the application and loaded from the bundle's file of the chosen layout
// (keymap.json or keymap-uly.json: an object whose "map" member is an object of strings) at start
// and again when the user switches layouts; looked up exactly, case-sensitively, whole string at a
// time. The dictionary tool reads the same files through parseKeyMap.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "core/key_layout.h"
#include "core/key_map_extras.h"

namespace ornav {

class Bundle;
class SystemLog;

using KeyTable = std::map<std::string, std::string, std::less<>>;  // typed string -> output

// The content of a key map file.
struct KeyMapFile {
  KeyTable map;
  // Every other top-level member, kept as read ("initial", "punctuation", ...) for the features
  // and tools that use them; the key lookup ignores them.
  nlohmann::json otherMembers = nlohmann::json::object();

  // The optional tables beside "map".
  KeyMapExtras extras() const;
};

// Parses the text of a key map file. Absent when the text is not JSON, its top level is not an
// object, "map" is missing or not an object, or any value in "map" is not a string; `why`, when
// given, then says which.
std::optional<KeyMapFile> parseKeyMap(std::string_view text, std::string* why = nullptr);

class KeyMap {
 public:
  KeyMap() = default;
  explicit KeyMap(KeyMapFile file, KeyLayout layout = KeyLayout::phonetic);
  KeyMap(KeyTable map, KeyMapExtras extras);

  // Replaces the table with the bundle's key map of `layout` (keymap.json for the phonetic one);
  // on any failure the table keeps what it had and the answer is false. Reports the outcome in
  // the system log (either may be null).
  bool load(const Bundle* bundle, SystemLog* systemLog, KeyLayout layout = KeyLayout::phonetic);

  // The output for exactly this typed string (no normalisation, no per-character fallback).
  std::optional<std::string> map(std::string_view typed) const;

  const KeyTable& arabic() const { return file_.map; }
  const KeyMapExtras& extras() const { return extras_; }
  // The layout this table was made for (phonetic unless said otherwise).
  KeyLayout layout() const { return layout_; }

 private:
  KeyMapFile file_;
  KeyMapExtras extras_;
  KeyLayout layout_ = KeyLayout::phonetic;
};

}  // namespace ornav
