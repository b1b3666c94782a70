#include "core/key_map_extras.h"

#include "core/key_map.h"

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

KeyMapExtras KeyMapExtras::from(const KeyMap& keyMap) {
  KeyMapExtras extras;
  extras.initial = keyMap.table("initial").value_or(std::map<std::string, std::string>{});
  extras.punctuation = keyMap.table("punctuation").value_or(std::map<std::string, std::string>{});
  return extras;
}

}  // namespace ornav
