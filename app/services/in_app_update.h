// The steps of an in-app installation that the coordinator runs one after another: the download
// folder, the package path, the checksum tool, the installer and the pending-install marker.
// The operation is UpdateServiceOperations::downloadAndInstallUpdate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "services/update_types.h"

namespace ornav::in_app_update {

// A step's failure, as the text shown to the user.
struct StepError {
  std::string description;
};

template <typename T>
using StepResult = std::variant<T, StepError>;

// The caches folder (the temporary folder when the platform has none) + "Ornavel/Updates",
// created with its parents.
StepResult<std::filesystem::path> updateDownloadDirectory();

// The download folder + the package name made from the link (see downloadedPackageName).
StepResult<std::filesystem::path> makeDownloadedPackageURL(const UpdateInfo& info,
                                                           const std::string& sourceURL);

// Replaces whatever is at `destination` by the file at `source`, also across file systems.
std::optional<StepError> movePackage(const std::filesystem::path& source,
                                     const std::filesystem::path& destination);

// The lower-case SHA-256 of the file as "/usr/bin/shasum -a 256" prints it. Blocks.
StepResult<std::string> sha256String(const std::filesystem::path& file);

// Runs the system installer on the package with administrator rights on the background queue;
// `completion` runs there with a success flag and, on failure, the text for the user.
void installPackage(const std::filesystem::path& package,
                    std::function<void(bool success, std::string message)> completion);

// The most bytes a package download may bring: the size the service offered plus a margin (a
// tenth, at least 1 MiB) for rounding, so a broken or hostile server cannot fill the disk; -1 (no
// bound) when the service named no usable size.
std::int64_t downloadLimitBytes(const std::optional<double>& fileSizeMB);

// Remembers that the installation of `version` is starting, so that a process started after the
// installer reloaded the input method can report it.
void markPendingInstall(const std::string& version);
void clearPendingInstall();

// The texts of this flow.
inline constexpr const char* kInvalidLinkText = "更新下载链接无效";
inline constexpr const char* kChecksumMismatchText = "安装包校验失败，请重新下载后重试。";
inline constexpr const char* kUnverifiedPlainHttpText = "更新包未经校验，已取消安装。";
inline constexpr const char* kChecksumToolFailedText = "无法计算安装包校验值";
inline constexpr const char* kInstallerFailedText = "系统安装器返回失败";

}  // namespace ornav::in_app_update
