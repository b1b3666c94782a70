// The two keyboard layouts a user can type with, each a key-map file among the resources:
//   phonetic: one key per letter, the letters written with two characters on Shift (keymap.json);
//   uly:      the Uyghur Latin spelling, sh ch gh ng zh typed as two keys (keymap-uly.json).
// The choice is the user's, kept in the settings under kKeyLayoutSettingsKey.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ornav {

enum class KeyLayout { phonetic, uly };

inline constexpr const char* kKeyLayoutSettingsKey = "Ornavel.keyLayout";

// The resource name of the layout's key map ("keymap" for keymap.json).
std::string keyLayoutResource(KeyLayout layout);

// The layout's name as the user sees it, e.g. on the typing pad.
std::string keyLayoutName(KeyLayout layout);

// How the layout is written in the settings, and read back; nothing for any other text.
std::string keyLayoutSetting(KeyLayout layout);
std::optional<KeyLayout> keyLayoutFromSetting(std::string_view value);

}  // namespace ornav
