#include "core/key_layout.h"

namespace ornav {

std::string keyLayoutResource(KeyLayout layout) {
  return layout == KeyLayout::uly ? "keymap-uly" : "keymap";
}

std::string keyLayoutName(KeyLayout layout) {
  return layout == KeyLayout::uly ? "拉丁维文(ULY)拼写" : "单键音译";
}

std::string keyLayoutSetting(KeyLayout layout) {
  return layout == KeyLayout::uly ? "uly" : "phonetic";
}

std::optional<KeyLayout> keyLayoutFromSetting(std::string_view value) {
  if (value == "uly") return KeyLayout::uly;
  if (value == "phonetic") return KeyLayout::phonetic;
  return std::nullopt;
}

}  // namespace ornav
