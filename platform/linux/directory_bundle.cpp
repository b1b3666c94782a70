#include "platform/linux/directory_bundle.h"

#include <system_error>

#include "base/files.h"

namespace ornav::linux_platform {

DirectoryBundle::DirectoryBundle(std::filesystem::path bundlePath)
    : bundlePath_(std::move(bundlePath)) {
  if (auto xml = readWholeFile(bundlePath_ / "Contents" / "Info.plist")) {
    if (auto info = parseInfoPlist(*xml)) {
      info_ = std::move(*info);
      hasInfo_ = true;
    }
  }
}

std::optional<std::filesystem::path> DirectoryBundle::locateFromExecutable() {
  std::error_code error;
  auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  auto macos = program.parent_path();
  auto contents = macos.parent_path();
  auto bundle = contents.parent_path();
  if (macos.filename() != "MacOS" || contents.filename() != "Contents" ||
      bundle.extension() != ".app") {
    return std::nullopt;
  }
  return bundle;
}

std::optional<InfoValue> DirectoryBundle::infoValue(const std::string& key) const {
  auto found = info_.find(key);
  if (found == info_.end()) return std::nullopt;
  return found->second;
}

std::filesystem::path DirectoryBundle::resourcePath() const {
  return bundlePath_ / "Contents" / "Resources";
}

std::optional<std::filesystem::path> DirectoryBundle::pathForResource(
    const std::string& name, const std::string& extension) const {
  if (name.empty()) return std::nullopt;
  const std::string file = extension.empty() ? name : name + "." + extension;
  // Resources are looked up inside the bundle only: no absolute names, no climbing out.
  std::filesystem::path relative(file);
  if (relative.is_absolute()) return std::nullopt;
  for (const auto& part : relative) {
    if (part == "..") return std::nullopt;
  }
  auto path = resourcePath() / relative;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  return path;
}

}  // namespace ornav::linux_platform
