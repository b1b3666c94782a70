#include "session_bundle.h"

#include <system_error>

namespace ornav::session {

std::optional<InfoValue> SessionBundle::infoValue(const std::string& key) const {
  if (key == "CFBundleIdentifier") return InfoValue{std::string("com.ornav.ornavel-session")};
  return std::nullopt;
}

std::optional<std::filesystem::path> SessionBundle::pathForResource(
    const std::string& name, const std::string& extension) const {
  if (name != "keymap" || extension != "json") return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_regular_file(keymap_, error)) return std::nullopt;
  return keymap_;
}

}  // namespace ornav::session
