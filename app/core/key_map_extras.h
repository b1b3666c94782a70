// The optional tables of keymap.json beside "map", for Uyghur typing:
//   "initial":     key -> text typed instead of the "map" text when nothing is being composed
//                  (word-initial vowels carry the hamza carrier: a -> ئا);
//   "punctuation": key -> text committed directly after the composition (، ؛ ؟ « »);
//   "digraphs":    two keys -> the one letter they spell together ("sh" -> ش): the second key
//                  replaces the letter the first one typed (word_spelling.h).
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
  std::map<std::string, std::string> digraphs = {};

  std::optional<std::string> initialText(const std::string& typed) const;
  std::optional<std::string> punctuationText(const std::string& typed) const;
  // The letter that `first` and then `second` spell together, if they do.
  std::optional<std::string> digraphText(const std::string& first, const std::string& second) const;
};

}  // namespace ornav
