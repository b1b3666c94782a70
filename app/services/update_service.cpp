#include "services/update_service.h"

#include "ports/bundle.h"
#include "ports/platform.h"
#include "ports/settings.h"
#include "services/random_uuid.h"
#include "services/service_url.h"

namespace ornav {
namespace {

constexpr const char* kDeviceIDKey = "Ornavel.deviceID";
constexpr const char* kWelcomeShownKey = "Ornavel.welcomeShown";

}  // namespace

std::string UpdateService::updateCheckURL() {
  return service_url::endpoint("api/ornav-ime/latest?platform=mac");
}
std::string UpdateService::dictURL() {
  return service_url::endpoint("api/ornav-ime/dict");
}
std::string UpdateService::userDictURL() {
  return service_url::endpoint("api/ornav-ime/user-dict");
}
std::string UpdateService::feedbackSubmitURL() {
  return service_url::endpoint("api/ornav-ime/feedback");
}
std::string UpdateService::aboutURL() {
  return service_url::endpoint("api/ornav-ime/about");
}
std::string UpdateService::feedbackURL() {
  return service_url::baseURL();
}
std::string UpdateService::crashReportURL() {
  return service_url::endpoint("api/ornav-ime/crash");
}

std::string UpdateService::deviceID() {
  Settings* settings = platform().settings;
  if (settings != nullptr) {
    if (auto stored = settings->getString(kDeviceIDKey); stored && !stored->empty()) {
      return *stored;
    }
  }
  std::string created = makeRandomUUID();
  if (settings != nullptr) settings->setString(kDeviceIDKey, created);
  return created;
}

std::string UpdateService::currentVersion() {
  if (const Bundle* bundle = platform().bundle) {
    if (auto version = bundle->shortVersion()) return *version;
  }
  return "1.0";
}

bool UpdateService::hasShownWelcome() {
  const Settings* settings = platform().settings;
  return settings != nullptr && settings->getBool(kWelcomeShownKey).value_or(false);
}

void UpdateService::setHasShownWelcome(bool shown) {
  if (Settings* settings = platform().settings) settings->setBool(kWelcomeShownKey, shown);
}

}  // namespace ornav
