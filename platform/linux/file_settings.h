// The settings store on Linux: user-defaults semantics over one JSON file.
//
// File shape: a JSON object from key to a one-member object naming the value's type, e.g.
// {"Ornavel.uploadConsent": {"bool": false}, "Ornavel.lastUpdateCheck": {"double": 1.7e9}};
// the types are "bool", "integer", "double", "string", "data" (base64), "strings" (array) and
// "dictionary" (string to string). Entries of a shape this version does not know are kept and
// written back unchanged. Every change rewrites the file atomically under one lock, so concurrent
// writers never lose each other's keys; a file that cannot be parsed is set aside with a
// ".corrupt-<time>" suffix and a log line, and the store starts empty.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "ports/settings_value.h"
#include "ports/system_log.h"

namespace ornav::linux_platform {

class FileSettings : public SettingsOverMap {
 public:
  // Loads `path` (a missing file is an empty store). `log` receives the one line about a set-aside
  // or unwritable file; it may be null.
  FileSettings(std::filesystem::path path, SystemLog* log);

  // $XDG_CONFIG_HOME/Ornavel/settings.json, or ~/.config/Ornavel/settings.json when unset.
  static std::filesystem::path defaultPath();

  const std::filesystem::path& path() const { return path_; }

 protected:
  std::optional<SettingsValue> load(const std::string& key) const override;
  void store(const std::string& key, std::optional<SettingsValue> value) override;

 private:
  void readFile();
  void setAside(const std::string& reason);
  void writeFile();
  void log(const std::string& message) const;

  const std::filesystem::path path_;
  SystemLog* const log_;
  mutable std::mutex mutex_;
  std::map<std::string, SettingsValue> values_;
  std::map<std::string, nlohmann::json> unknown_;  // entries kept as found
};

// The JSON forms of one value, shared with the tests.
nlohmann::json settingsValueToJson(const SettingsValue& value);
std::optional<SettingsValue> settingsValueFromJson(const nlohmann::json& entry);

}  // namespace ornav::linux_platform
