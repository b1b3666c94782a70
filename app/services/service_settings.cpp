#include "services/service_settings.h"

#include "services/service_client.h"

namespace ornav::service_settings {
namespace {

Settings* store() {
  return ServiceClient::current().settings;
}

}  // namespace

bool boolOr(const std::string& key, bool fallback) {
  const Settings* settings = store();
  return settings ? settings->getBool(key).value_or(fallback) : fallback;
}

std::string stringOr(const std::string& key, const std::string& fallback) {
  return string(key).value_or(fallback);
}

double doubleOr(const std::string& key, double fallback) {
  const Settings* settings = store();
  return settings ? settings->getDouble(key).value_or(fallback) : fallback;
}

std::optional<std::string> string(const std::string& key) {
  const Settings* settings = store();
  return settings ? settings->getString(key) : std::nullopt;
}

std::optional<SettingsData> data(const std::string& key) {
  const Settings* settings = store();
  return settings ? settings->getData(key) : std::nullopt;
}

void setBool(const std::string& key, bool value) {
  if (Settings* settings = store()) settings->setBool(key, value);
}

void setString(const std::string& key, const std::string& value) {
  if (Settings* settings = store()) settings->setString(key, value);
}

void setDouble(const std::string& key, double value) {
  if (Settings* settings = store()) settings->setDouble(key, value);
}

void setData(const std::string& key, const SettingsData& value) {
  if (Settings* settings = store()) settings->setData(key, value);
}

void remove(const std::string& key) {
  if (Settings* settings = store()) settings->remove(key);
}

}  // namespace ornav::service_settings
