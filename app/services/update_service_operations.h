// The network operations of the update service and the settings that steer them: the update
// check, the in-app download and install, the cloud dictionary and the user dictionary upload,
// feedback and the about text. Every operation returns at once and reports through its completion
// exactly once, always asynchronously on the main queue.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "services/update_types.h"

namespace ornav {

// The cloud dictionary the service holds when it is newer than the caller's: the text to merge
// and the version to store once the merge succeeded. `tsv` may be empty.
struct CloudDict {
  std::string tsv;
  std::string version;
  bool operator==(const CloudDict&) const = default;
};

class UpdateServiceOperations {
 public:
  UpdateServiceOperations() = delete;

  using UpdateInfo = ornav::UpdateInfo;
  using UpdateResult = ornav::UpdateResult;
  using InAppUpdateStage = ornav::InAppUpdateStage;
  using InAppUpdateResult = ornav::InAppUpdateResult;
  using PendingInstallNotice = ornav::PendingInstallNotice;
  using FeedbackResult = ornav::FeedbackResult;
  using AboutContent = ornav::AboutContent;

  // ---- Update check ----

  // Asks the service for the latest version. On a well-formed answer "Ornavel.updateAvailable"
  // is written, and the three "latest" settings too when the version is newer.
  static void checkForUpdates(std::function<void(UpdateResult)> completion);

  // Runs a check whose result is dropped when 5 hours have passed since the last silent one. The
  // time is stored before the check, so a failing check is not repeated sooner either.
  static void silentCheckIfDue();
  static constexpr double silentCheckInterval = 18000;

  static bool updateAvailable();  // "Ornavel.updateAvailable", false when absent
  static void setUpdateAvailable(bool value);
  static std::string latestVersion();  // "Ornavel.latestVersion", "" when absent
  static void setLatestVersion(const std::string& value);
  static std::string latestDownloadURL();  // "Ornavel.latestDownloadURL", "" when absent
  static void setLatestDownloadURL(const std::string& value);
  static std::string latestNotes();  // "Ornavel.latestNotes", "" when absent
  static void setLatestNotes(const std::string& value);
  static double lastCheckTime();  // "Ornavel.lastUpdateCheck", seconds since 1970, 0 when absent
  static void setLastCheckTime(double secondsSince1970);

  // ---- In-app download and install ----

  // Downloads the package of `info`, verifies it and runs the system installer on it. Stages go
  // to `progress` and the outcome to `completion`, all on the main queue, in the order reported.
  static void downloadAndInstallUpdate(const UpdateInfo& info,
                                       std::function<void(InAppUpdateStage)> progress,
                                       std::function<void(InAppUpdateResult)> completion);

  // The notice that an installation started by an earlier process has taken effect; reading it
  // clears the marker. Nothing while the running version is still older than the marked one.
  static std::optional<PendingInstallNotice> consumePendingInstallNotice();

  // ---- Cloud dictionary and user dictionary upload ----

  static bool onlineDictEnabled();  // "Ornavel.onlineDictEnabled", true until first written
  static void setOnlineDictEnabled(bool value);
  static std::string cloudDictVersion();  // "Ornavel.cloudDictVersion", "0" without a string
  static void setCloudDictVersion(const std::string& value);
  static bool uploadConsent();  // "Ornavel.uploadConsent", false until first written
  static void setUploadConsent(bool value);
  static constexpr double userDictUploadInterval = 1800;

  // Fetches the cloud dictionary when the service holds a newer one than `since`; absent when
  // there is nothing to merge (unchanged, or any failure).
  static void fetchCloudDict(const std::string& since,
                             std::function<void(std::optional<CloudDict>)> completion);

  // Uploads the growth of the user's counts. true: nothing left to do (uploaded, too soon, nothing
  // grew); false: no consent, no usable endpoint, or the upload failed or was rejected.
  static void uploadUserDict(const std::string& tsv, bool force,
                             std::function<void(bool)> completion);

  // The throttle: consent given and never uploaded, or at least `userDictUploadInterval` since
  // the last accepted upload.
  static bool shouldUploadUserDict();
  static bool shouldUploadUserDict(std::chrono::system_clock::time_point now);

  // ---- Feedback and about ----

  static void submitFeedback(const std::string& message, const std::string& contact,
                             std::function<void(FeedbackResult)> completion);
  static void fetchAboutContent(std::function<void(std::optional<AboutContent>)> completion);
  // The built-in texts, which name the input framework of the desktop the process runs on.
  static AboutContent defaultAbout();
};

}  // namespace ornav
