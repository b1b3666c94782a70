#pragma once
// Value types that the update service hands to the dialogs: what a check found, how an in-app
// installation is going, and what the feedback and about exchanges gave.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace ornav {

// One version that the service offers. Links are already normalised.
struct UpdateInfo {
  std::string version;
  std::string directDownloadURL;
  std::string fallbackURL;
  std::string notes;
  std::string sha256;  // hexadecimal, empty when the service gave none
  std::optional<double> fileSizeMB;

  const std::string& preferredDownloadURL() const {
    return directDownloadURL.empty() ? fallbackURL : directDownloadURL;
  }
  bool operator==(const UpdateInfo&) const = default;
};

struct UpdateResult {
  enum class Kind { available, failed, upToDate };
  Kind kind = Kind::upToDate;
  UpdateInfo info;      // set for available
  std::string message;  // set for failed, shown to the user unchanged

  static UpdateResult available(UpdateInfo info) { return {Kind::available, std::move(info), {}}; }
  static UpdateResult failed(std::string message) { return {Kind::failed, {}, std::move(message)}; }
  static UpdateResult upToDate() { return {Kind::upToDate, {}, {}}; }
  bool operator==(const UpdateResult&) const = default;
};

struct InAppUpdateStage {
  enum class Kind { downloading, preparing, verifying, installing, completed };
  Kind kind = Kind::preparing;
  int64_t receivedBytes = 0;  // downloading only
  int64_t totalBytes = -1;    // downloading only; -1 when the server sent no length

  static InAppUpdateStage downloading(int64_t receivedBytes, int64_t totalBytes) {
    return {Kind::downloading, receivedBytes, totalBytes};
  }
  static InAppUpdateStage preparing() { return {Kind::preparing, 0, -1}; }
  static InAppUpdateStage verifying() { return {Kind::verifying, 0, -1}; }
  static InAppUpdateStage installing() { return {Kind::installing, 0, -1}; }
  static InAppUpdateStage completed() { return {Kind::completed, 0, -1}; }
  bool operator==(const InAppUpdateStage&) const = default;
};

struct InAppUpdateResult {
  enum class Kind { failure, success };
  Kind kind = Kind::success;
  std::string message;  // failure only, shown to the user unchanged

  static InAppUpdateResult failure(std::string message) {
    return {Kind::failure, std::move(message)};
  }
  static InAppUpdateResult success() { return {Kind::success, {}}; }
  bool operator==(const InAppUpdateResult&) const = default;
};

// Left by an installation that the installer may have interrupted by reloading the input method.
struct PendingInstallNotice {
  std::string version;  // the version whose installation was started

  static PendingInstallNotice installed(std::string version) { return {std::move(version)}; }
  bool operator==(const PendingInstallNotice&) const = default;
};

struct FeedbackResult {
  enum class Kind { success, failure };
  Kind kind = Kind::failure;
  std::string message;  // shown by the dialog unchanged

  static FeedbackResult success(std::string message) { return {Kind::success, std::move(message)}; }
  static FeedbackResult failure(std::string message) { return {Kind::failure, std::move(message)}; }
  bool operator==(const FeedbackResult&) const = default;
};

struct AboutContent {
  std::string title;
  std::string description;
  std::string copyright;
  bool operator==(const AboutContent&) const = default;
};

}  // namespace ornav
