// The services of a headless session: the settings live in the session's own settings store,
// with both online switches off, and nothing ever goes to the network. Fetches and uploads answer
// "nothing to do" on the main queue, as the real service does when switched off, so no output of
// the session depends on a network or waits for one.
#pragma once

#include "core/controller_services.h"
#include "ports/main_queue.h"
#include "ports/settings.h"

namespace ornav::session {

class OfflineServices : public ControllerServices {
 public:
  // Writes both switches off into `settings`.
  OfflineServices(Settings& settings, MainQueue& mainQueue);

  bool onlineDictEnabled() const override;
  void setOnlineDictEnabled(bool on) override;
  bool uploadConsent() const override;
  void setUploadConsent(bool on) override;
  std::string cloudDictVersion() const override;
  void setCloudDictVersion(const std::string& version) override;
  bool updateAvailable() const override;
  void fetchCloudDict(const std::string& since,
                      std::function<void(std::optional<FetchedCloudDict>)> completion) override;
  void uploadUserDict(const std::string& tsv, bool force,
                      std::function<void(bool)> completion) override;
  void silentCheckIfDue() override {}

 private:
  Settings& settings_;
  MainQueue& mainQueue_;
};

}  // namespace ornav::session
