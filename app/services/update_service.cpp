#include "services/update_service.h"

#include "base/url_text.h"
#include "base/uuid.h"
#include "ports/settings.h"
#include "services/service_client.h"

namespace ornav {
namespace {

constexpr const char* kDeviceIDKey = "Ornavel.deviceID";
constexpr const char* kWelcomeShownKey = "Ornavel.welcomeShown";

std::string endpoint(std::string_view path) {
  return url_text::join(ServiceClient::current().baseURL, path);
}

}  // namespace

std::string UpdateService::updateCheckURL() {
  return endpoint("api/ornav-ime/latest?platform=mac");
}
std::string UpdateService::dictURL() {
  return endpoint("api/ornav-ime/dict");
}
std::string UpdateService::userDictURL() {
  return endpoint("api/ornav-ime/user-dict");
}
std::string UpdateService::feedbackSubmitURL() {
  return endpoint("api/ornav-ime/feedback");
}
std::string UpdateService::aboutURL() {
  return endpoint("api/ornav-ime/about");
}
std::string UpdateService::feedbackURL() {
  return ServiceClient::current().baseURL;
}
std::string UpdateService::crashReportURL() {
  return endpoint("api/ornav-ime/crash");
}

std::string UpdateService::deviceID() {
  Settings* settings = ServiceClient::current().settings;
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
  return ServiceClient::current().version;
}

bool UpdateService::hasShownWelcome() {
  const Settings* settings = ServiceClient::current().settings;
  return settings != nullptr && settings->getBool(kWelcomeShownKey).value_or(false);
}

void UpdateService::setHasShownWelcome(bool shown) {
  if (Settings* settings = ServiceClient::current().settings)
    settings->setBool(kWelcomeShownKey, shown);
}

}  // namespace ornav
