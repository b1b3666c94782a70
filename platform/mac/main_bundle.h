// The application bundle and the user's folders on macOS: the main NSBundle (Info.plist values,
// resources) and the folders NSFileManager names for this user.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ports/bundle.h"

namespace ornav::mac_platform {

// Information values map from property-list objects: strings to strings, booleans to booleans,
// floating-point numbers to doubles, other numbers to integers. Dates, data, arrays and
// dictionaries are not scalar values and read as absent.
class MainBundle final : public Bundle {
 public:
  std::optional<InfoValue> infoValue(const std::string& key) const override;
  std::filesystem::path bundlePath() const override;
  std::filesystem::path resourcePath() const override;
  std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                       const std::string& extension) const override;
};

// ~ (NSHomeDirectory), ~/Library/Application Support and ~/Library/Caches (the user domain's
// folders; for a sandboxed process those of its container) and NSTemporaryDirectory. None of
// them is created here.
class FileManagerFolders final : public Folders {
 public:
  std::filesystem::path home() const override;
  std::filesystem::path applicationSupport() const override;
  std::filesystem::path caches() const override;
  std::filesystem::path temporary() const override;
};

}  // namespace ornav::mac_platform
