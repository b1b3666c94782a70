#include "core/key_map_extras.h"

namespace ornav {
namespace {

std::optional<std::string> find(const std::map<std::string, std::string>& table,
                                const std::string& typed) {
  auto it = table.find(typed);
  if (it == table.end()) return std::nullopt;
  return it->second;
}

}  // namespace

std::optional<std::string> KeyMapExtras::initialText(const std::string& typed) const {
  return find(initial, typed);
}

std::optional<std::string> KeyMapExtras::punctuationText(const std::string& typed) const {
  return find(punctuation, typed);
}

std::optional<std::string> KeyMapExtras::digraphText(const std::string& first,
                                                     const std::string& second) const {
  if (first.empty() || second.empty()) return std::nullopt;
  return find(digraphs, first + second);
}

}  // namespace ornav
