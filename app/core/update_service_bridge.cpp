#include "core/update_service_bridge.h"

#include "services/service_settings.h"
#include "services/update_service_operations.h"

namespace ornav {

namespace {
const std::string kShowPredictionsKey = "Ornavel.showPredictions";
}  // namespace

using Ops = UpdateServiceOperations;

bool UpdateServiceBridge::onlineDictEnabled() const {
  return Ops::onlineDictEnabled();
}
void UpdateServiceBridge::setOnlineDictEnabled(bool on) {
  Ops::setOnlineDictEnabled(on);
}
bool UpdateServiceBridge::uploadConsent() const {
  return Ops::uploadConsent();
}
void UpdateServiceBridge::setUploadConsent(bool on) {
  Ops::setUploadConsent(on);
}
std::string UpdateServiceBridge::cloudDictVersion() const {
  return Ops::cloudDictVersion();
}
void UpdateServiceBridge::setCloudDictVersion(const std::string& version) {
  Ops::setCloudDictVersion(version);
}
bool UpdateServiceBridge::updateAvailable() const {
  return Ops::updateAvailable();
}

// A setting of the input method itself, kept beside the service's own keys.
bool UpdateServiceBridge::showPredictions() const {
  return service_settings::boolOr(kShowPredictionsKey, true);
}
void UpdateServiceBridge::setShowPredictions(bool on) {
  service_settings::setBool(kShowPredictionsKey, on);
}

void UpdateServiceBridge::fetchCloudDict(
    const std::string& since, std::function<void(std::optional<FetchedCloudDict>)> completion) {
  Ops::fetchCloudDict(since, [completion = std::move(completion)](std::optional<CloudDict> dict) {
    if (!dict) return completion(std::nullopt);
    completion(FetchedCloudDict{std::move(dict->tsv), std::move(dict->version)});
  });
}

void UpdateServiceBridge::uploadUserDict(const std::string& tsv, bool force,
                                         std::function<void(bool)> completion) {
  Ops::uploadUserDict(tsv, force, std::move(completion));
}

void UpdateServiceBridge::silentCheckIfDue() {
  Ops::silentCheckIfDue();
}

}  // namespace ornav
