// The stored form of one setting and the user-defaults reading rules shared by every settings
// store (the file-backed one on Linux and the in-memory one of the tests), so that all of them
// answer the same typed reads for the same stored value.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ports/settings.h"

namespace ornav {

using SettingsDictionary = std::map<std::string, std::string>;
using SettingsValue = std::variant<bool, std::int64_t, double, std::string, SettingsData,
                                   std::vector<std::string>, SettingsDictionary>;

// Numbers convert among themselves (bool <-> 0/1, integer -> double, integral double -> integer);
// every other mismatch reads as absent.
std::optional<bool> settingsBool(const SettingsValue& value);
std::optional<std::int64_t> settingsInteger(const SettingsValue& value);
std::optional<double> settingsDouble(const SettingsValue& value);
std::optional<std::string> settingsString(const SettingsValue& value);
std::optional<SettingsData> settingsData(const SettingsValue& value);
std::optional<std::vector<std::string>> settingsStringArray(const SettingsValue& value);
std::optional<SettingsDictionary> settingsDictionary(const SettingsValue& value);

// A Settings over a map of stored values. Subclasses provide locking and persistence through the
// two hooks; every read and write goes through them, so they see a consistent map.
class SettingsOverMap : public Settings {
 public:
  std::optional<bool> getBool(const std::string& key) const override;
  std::optional<std::int64_t> getInteger(const std::string& key) const override;
  std::optional<double> getDouble(const std::string& key) const override;
  std::optional<std::string> getString(const std::string& key) const override;
  std::optional<SettingsData> getData(const std::string& key) const override;
  std::optional<std::vector<std::string>> getStringArray(const std::string& key) const override;
  std::optional<SettingsDictionary> getStringDictionary(const std::string& key) const override;

  void setBool(const std::string& key, bool value) override;
  void setInteger(const std::string& key, std::int64_t value) override;
  void setDouble(const std::string& key, double value) override;
  void setString(const std::string& key, const std::string& value) override;
  void setData(const std::string& key, const SettingsData& value) override;
  void setStringArray(const std::string& key, const std::vector<std::string>& value) override;
  void setStringDictionary(const std::string& key, const SettingsDictionary& value) override;

  void remove(const std::string& key) override;
  bool contains(const std::string& key) const override;

 protected:
  // The stored value of `key`, read under the subclass's lock.
  virtual std::optional<SettingsValue> load(const std::string& key) const = 0;
  // Stores (or, with an empty optional, removes) `key` under the subclass's lock.
  virtual void store(const std::string& key, std::optional<SettingsValue> value) = 0;
};

}  // namespace ornav
