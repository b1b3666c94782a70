// The optional tables of keymap.json beside "map", for Uyghur typing:
//   "initial":     key -> text typed instead of the "map" text when nothing is being composed
//                  (word-initial vowels carry the hamza carrier: a -> ئا);
//   "punctuation": key -> text committed directly after the composition (، ؛ ؟ « »).
// Each is an object of strings; a table that is missing or of another shape is empty, so a key
// map without them behaves exactly as the plain "map" does.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace ornav {

struct KeyMapExtras {
  std::map<std::string, std::string> initial;
  std::map<std::string, std::string> punctuation;

  std::optional<std::string> initialText(const std::string& typed) const;
  std::optional<std::string> punctuationText(const std::string& typed) const;
};

}  // namespace ornav
