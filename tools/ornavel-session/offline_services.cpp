#include "offline_services.h"

namespace ornav::session {

namespace {
constexpr const char* kOnlineDict = "Ornavel.onlineDictEnabled";
constexpr const char* kConsent = "Ornavel.uploadConsent";
constexpr const char* kCloudVersion = "Ornavel.cloudDictVersion";
constexpr const char* kUpdateAvailable = "Ornavel.updateAvailable";
}  // namespace

OfflineServices::OfflineServices(Settings& settings, MainQueue& mainQueue)
    : settings_(settings), mainQueue_(mainQueue) {
  settings_.setBool(kOnlineDict, false);
  settings_.setBool(kConsent, false);
}

bool OfflineServices::onlineDictEnabled() const {
  return settings_.getBool(kOnlineDict).value_or(true);
}
void OfflineServices::setOnlineDictEnabled(bool on) {
  settings_.setBool(kOnlineDict, on);
}
bool OfflineServices::uploadConsent() const {
  return settings_.getBool(kConsent).value_or(true);
}
void OfflineServices::setUploadConsent(bool on) {
  settings_.setBool(kConsent, on);
}
std::string OfflineServices::cloudDictVersion() const {
  return settings_.getString(kCloudVersion).value_or("0");
}
void OfflineServices::setCloudDictVersion(const std::string& version) {
  settings_.setString(kCloudVersion, version);
}
bool OfflineServices::updateAvailable() const {
  return settings_.getBool(kUpdateAvailable).value_or(false);
}

void OfflineServices::fetchCloudDict(
    const std::string&, std::function<void(std::optional<FetchedCloudDict>)> completion) {
  mainQueue_.post([completion = std::move(completion)] { completion(std::nullopt); });
}

void OfflineServices::uploadUserDict(const std::string&, bool,
                                     std::function<void(bool)> completion) {
  // Nothing is sent: without a service there is no consent to act on.
  mainQueue_.post([completion = std::move(completion)] { completion(false); });
}

}  // namespace ornav::session
