// The user's settings store (user-defaults semantics). Every value is typed; a key that was never
// written (or was removed) reads as absent, which is distinct from false, 0 or the empty string.
// Implementations are safe to use from any thread.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ornav {

using SettingsData = std::vector<std::uint8_t>;

class Settings {
 public:
  virtual ~Settings() = default;

  // Typed reads. Absent when the key is missing or holds a value of another kind, except that
  // numbers convert among themselves: an integer reads as a double, a double with an integral
  // value in range reads as an integer, and booleans read as the integers 0/1 and vice versa
  // (user-defaults conventions).
  virtual std::optional<bool> getBool(const std::string& key) const = 0;
  virtual std::optional<std::int64_t> getInteger(const std::string& key) const = 0;
  virtual std::optional<double> getDouble(const std::string& key) const = 0;
  virtual std::optional<std::string> getString(const std::string& key) const = 0;
  virtual std::optional<SettingsData> getData(const std::string& key) const = 0;
  virtual std::optional<std::vector<std::string>> getStringArray(const std::string& key) const = 0;
  virtual std::optional<std::map<std::string, std::string>> getStringDictionary(
      const std::string& key) const = 0;

  // Typed writes replace whatever the key held.
  virtual void setBool(const std::string& key, bool value) = 0;
  virtual void setInteger(const std::string& key, std::int64_t value) = 0;
  virtual void setDouble(const std::string& key, double value) = 0;
  virtual void setString(const std::string& key, const std::string& value) = 0;
  virtual void setData(const std::string& key, const SettingsData& value) = 0;
  virtual void setStringArray(const std::string& key, const std::vector<std::string>& value) = 0;
  virtual void setStringDictionary(const std::string& key,
                                   const std::map<std::string, std::string>& value) = 0;

  virtual void remove(const std::string& key) = 0;
  virtual bool contains(const std::string& key) const = 0;
};

}  // namespace ornav
