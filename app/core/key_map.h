// The process-wide key map: what a key press typed on a Latin layout stands for in Arabic script.
// Loaded once from the bundle's keymap.json (an object whose "map" member is an object of
// strings); looked up exactly, case-sensitively, whole string at a time.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace ornav {

// The content of a key map file.
struct KeyMapFile {
  // Typed string -> output text.
  std::map<std::string, std::string, std::less<>> map;
  // Every other top-level member, kept as read ("initial", "punctuation", ...) for the features
  // and tools that use them; the key lookup ignores them.
  nlohmann::json otherMembers = nlohmann::json::object();
};

// Parses the text of a key map file. Absent when the text is not JSON, its top level is not an
// object, "map" is missing or not an object, or any value in "map" is not a string.
std::optional<KeyMapFile> parseKeyMap(std::string_view text);

class KeyMap {
 public:
  static KeyMap& shared();

  // Replaces the table with the bundle's keymap.json; on any failure the table keeps what it
  // had. Reports the outcome in the system log.
  void load();

  // The output for exactly this typed string (no normalisation, no per-character fallback).
  std::optional<std::string> map(std::string_view typed) const;

  const std::map<std::string, std::string, std::less<>>& arabic() const { return arabic_; }

  // A top-level member other than "map" that is an object of strings (e.g. "punctuation");
  // absent when missing or of another shape.
  std::optional<std::map<std::string, std::string>> table(std::string_view name) const;

  // Tests install content directly or start from empty again.
  void replaceForTesting(KeyMapFile file);

 private:
  KeyMap() = default;

  std::map<std::string, std::string, std::less<>> arabic_;
  nlohmann::json otherMembers_ = nlohmann::json::object();
};

}  // namespace ornav
