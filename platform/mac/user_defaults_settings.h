// The settings store on macOS: the user's standard defaults (NSUserDefaults), which the system
// keeps per user and writes back by itself. Values map to property-list objects: booleans and
// numbers to NSNumber (a boolean stays a boolean, a double stays a floating-point number), strings
// to NSString, data to NSData, string lists and string dictionaries to NSArray and NSDictionary.
// A stored value of another shape (written by someone else) reads as absent and is left as it is
// until this store writes the key. Safe to use from any thread, as NSUserDefaults is.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ports/settings_value.h"

namespace ornav::mac_platform {

class UserDefaultsSettings final : public SettingsOverMap {
 public:
  UserDefaultsSettings();
  ~UserDefaultsSettings() override;

 protected:
  std::optional<SettingsValue> load(const std::string& key) const override;
  void store(const std::string& key, std::optional<SettingsValue> value) override;

 private:
  struct Defaults;
  std::unique_ptr<Defaults> defaults_;
};

}  // namespace ornav::mac_platform
