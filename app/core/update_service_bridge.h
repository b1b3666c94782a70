// The controller's services in the running application: the settings accessors and network
// operations of UpdateService.
#pragma once

#include "core/controller_services.h"

namespace ornav {

class UpdateServiceBridge : public ControllerServices {
 public:
  bool onlineDictEnabled() const override;
  void setOnlineDictEnabled(bool on) override;
  bool uploadConsent() const override;
  void setUploadConsent(bool on) override;
  std::string cloudDictVersion() const override;
  void setCloudDictVersion(const std::string& version) override;
  bool updateAvailable() const override;
  bool showPredictions() const override;
  void setShowPredictions(bool on) override;
  void fetchCloudDict(const std::string& since,
                      std::function<void(std::optional<FetchedCloudDict>)> completion) override;
  void uploadUserDict(const std::string& tsv, bool force,
                      std::function<void(bool)> completion) override;
  void silentCheckIfDue() override;
};

}  // namespace ornav
