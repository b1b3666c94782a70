#include "ports/settings_value.h"

#include <cmath>

namespace ornav {

std::optional<bool> settingsBool(const SettingsValue& value) {
  if (auto* b = std::get_if<bool>(&value)) return *b;
  if (auto* i = std::get_if<std::int64_t>(&value)) return *i != 0;
  if (auto* d = std::get_if<double>(&value)) return *d != 0;
  return std::nullopt;
}

std::optional<std::int64_t> settingsInteger(const SettingsValue& value) {
  if (auto* i = std::get_if<std::int64_t>(&value)) return *i;
  if (auto* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  if (auto* d = std::get_if<double>(&value)) {
    // Only whole numbers inside the 64-bit range convert; 2^63 itself is out of range.
    if (std::isfinite(*d) && std::trunc(*d) == *d && *d >= -9223372036854775808.0 &&
        *d < 9223372036854775808.0) {
      return static_cast<std::int64_t>(*d);
    }
  }
  return std::nullopt;
}

std::optional<double> settingsDouble(const SettingsValue& value) {
  if (auto* d = std::get_if<double>(&value)) return *d;
  if (auto* i = std::get_if<std::int64_t>(&value)) return static_cast<double>(*i);
  if (auto* b = std::get_if<bool>(&value)) return *b ? 1.0 : 0.0;
  return std::nullopt;
}

std::optional<std::string> settingsString(const SettingsValue& value) {
  if (auto* s = std::get_if<std::string>(&value)) return *s;
  return std::nullopt;
}

std::optional<SettingsData> settingsData(const SettingsValue& value) {
  if (auto* d = std::get_if<SettingsData>(&value)) return *d;
  return std::nullopt;
}

std::optional<std::vector<std::string>> settingsStringArray(const SettingsValue& value) {
  if (auto* a = std::get_if<std::vector<std::string>>(&value)) return *a;
  return std::nullopt;
}

std::optional<SettingsDictionary> settingsDictionary(const SettingsValue& value) {
  if (auto* d = std::get_if<SettingsDictionary>(&value)) return *d;
  return std::nullopt;
}

namespace {
template <typename T, typename Convert>
std::optional<T> read(const std::optional<SettingsValue>& stored, Convert convert) {
  if (!stored) return std::nullopt;
  return convert(*stored);
}
}  // namespace

std::optional<bool> SettingsOverMap::getBool(const std::string& key) const {
  return read<bool>(load(key), settingsBool);
}
std::optional<std::int64_t> SettingsOverMap::getInteger(const std::string& key) const {
  return read<std::int64_t>(load(key), settingsInteger);
}
std::optional<double> SettingsOverMap::getDouble(const std::string& key) const {
  return read<double>(load(key), settingsDouble);
}
std::optional<std::string> SettingsOverMap::getString(const std::string& key) const {
  return read<std::string>(load(key), settingsString);
}
std::optional<SettingsData> SettingsOverMap::getData(const std::string& key) const {
  return read<SettingsData>(load(key), settingsData);
}
std::optional<std::vector<std::string>> SettingsOverMap::getStringArray(
    const std::string& key) const {
  return read<std::vector<std::string>>(load(key), settingsStringArray);
}
std::optional<SettingsDictionary> SettingsOverMap::getStringDictionary(
    const std::string& key) const {
  return read<SettingsDictionary>(load(key), settingsDictionary);
}

void SettingsOverMap::setBool(const std::string& key, bool value) {
  store(key, value);
}
void SettingsOverMap::setInteger(const std::string& key, std::int64_t value) {
  store(key, value);
}
void SettingsOverMap::setDouble(const std::string& key, double value) {
  store(key, value);
}
void SettingsOverMap::setString(const std::string& key, const std::string& value) {
  store(key, value);
}
void SettingsOverMap::setData(const std::string& key, const SettingsData& value) {
  store(key, value);
}
void SettingsOverMap::setStringArray(const std::string& key,
                                     const std::vector<std::string>& value) {
  store(key, value);
}
void SettingsOverMap::setStringDictionary(const std::string& key, const SettingsDictionary& value) {
  store(key, value);
}
void SettingsOverMap::remove(const std::string& key) {
  store(key, std::nullopt);
}
bool SettingsOverMap::contains(const std::string& key) const {
  return load(key).has_value();
}

}  // namespace ornav
