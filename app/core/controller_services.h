// The online services and settings the input controller relies on: the two switches, the merged
// cloud-dictionary version, the update marker, the cloud fetch, the user-dictionary upload and
// the silent update check. Production code forwards to UpdateService; tests and the headless
// session substitute their own.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ornav {

struct FetchedCloudDict {
  std::string tsv;
  std::string version;
};

class ControllerServices {
 public:
  virtual ~ControllerServices() = default;

  virtual bool onlineDictEnabled() const = 0;
  virtual void setOnlineDictEnabled(bool on) = 0;
  virtual bool uploadConsent() const = 0;
  virtual void setUploadConsent(bool on) = 0;
  virtual std::string cloudDictVersion() const = 0;
  virtual void setCloudDictVersion(const std::string& version) = 0;
  virtual bool updateAvailable() const = 0;
  // Whether the panel shows the next word's predictions after a pick ("Ornavel.showPredictions").
  virtual bool showPredictions() const = 0;
  virtual void setShowPredictions(bool on) = 0;

  // Both complete exactly once, on the main queue, never before they return.
  virtual void fetchCloudDict(const std::string& since,
                              std::function<void(std::optional<FetchedCloudDict>)> completion) = 0;
  virtual void uploadUserDict(const std::string& tsv, bool force,
                              std::function<void(bool)> completion) = 0;
  virtual void silentCheckIfDue() = 0;
};

// A process without the online services: both online switches read off, nothing is fetched,
// uploaded or checked (the completions report "nothing" at once); predictions are shown.
class NoControllerServices : public ControllerServices {
 public:
  bool onlineDictEnabled() const override { return false; }
  void setOnlineDictEnabled(bool) override {}
  bool uploadConsent() const override { return false; }
  void setUploadConsent(bool) override {}
  std::string cloudDictVersion() const override { return "0"; }
  void setCloudDictVersion(const std::string&) override {}
  bool updateAvailable() const override { return false; }
  bool showPredictions() const override { return true; }
  void setShowPredictions(bool) override {}
  void fetchCloudDict(const std::string&,
                      std::function<void(std::optional<FetchedCloudDict>)>) override {}
  void uploadUserDict(const std::string&, bool, std::function<void(bool)>) override {}
  void silentCheckIfDue() override {}
};

}  // namespace ornav
