#include "session_bundle.h"

#include <system_error>

#include "core/key_layout.h"

namespace ornav::session {

std::optional<InfoValue> SessionBundle::infoValue(const std::string& key) const {
  if (key == "CFBundleIdentifier") return InfoValue{std::string("com.ornav.ornavel-session")};
  return std::nullopt;
}

std::optional<std::filesystem::path> SessionBundle::pathForResource(
    const std::string& name, const std::string& extension) const {
  if (extension != "json") return std::nullopt;
  // The key map named on the command line; the other layout's (keymap-uly.json) beside it.
  std::filesystem::path path = keymap_;
  if (name == keyLayoutResource(KeyLayout::uly)) {
    path = keymap_.parent_path() / (name + ".json");
  } else if (name != keyLayoutResource(KeyLayout::phonetic)) {
    return std::nullopt;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return path;
}

}  // namespace ornav::session
