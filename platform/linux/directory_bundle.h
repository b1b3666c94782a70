// The application bundle as the build lays it out: <name>.app/Contents/Info.plist and
// <name>.app/Contents/Resources/. A missing or malformed Info.plist leaves every information value
// absent (callers have fallbacks); it never stops the application.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/linux/info_plist.h"
#include "ports/bundle.h"

namespace ornav::linux_platform {

class DirectoryBundle : public Bundle {
 public:
  explicit DirectoryBundle(std::filesystem::path bundlePath);

  // The bundle that holds the running program (…/X.app/Contents/MacOS/program); absent when the
  // program does not run from a bundle.
  static std::optional<std::filesystem::path> locateFromExecutable();

  std::optional<InfoValue> infoValue(const std::string& key) const override;
  std::filesystem::path bundlePath() const override { return bundlePath_; }
  std::filesystem::path resourcePath() const override;
  std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                       const std::string& extension) const override;

  // Whether Info.plist was found and read.
  bool hasInfo() const { return hasInfo_; }

 private:
  std::filesystem::path bundlePath_;
  InfoDictionary info_;
  bool hasInfo_ = false;
};

}  // namespace ornav::linux_platform
