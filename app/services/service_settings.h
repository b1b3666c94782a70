// Typed access to the settings store for the service's own keys, with the documented default
// while a key is absent. Without a settings port every read gives its default and writes are
// dropped.
#pragma once

#include <optional>
#include <string>

#include "ports/settings.h"

namespace ornav::service_settings {

bool boolOr(const std::string& key, bool fallback);
std::string stringOr(const std::string& key, const std::string& fallback);
double doubleOr(const std::string& key, double fallback);
std::optional<std::string> string(const std::string& key);
std::optional<SettingsData> data(const std::string& key);

void setBool(const std::string& key, bool value);
void setString(const std::string& key, const std::string& value);
void setDouble(const std::string& key, double value);
void setData(const std::string& key, const SettingsData& value);
void remove(const std::string& key);

}  // namespace ornav::service_settings
