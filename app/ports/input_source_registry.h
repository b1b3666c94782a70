// The system's list of text input sources: registering an input-method bundle and listing the
// sources it provides.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ornav {

struct InputSourceInfo {
  static constexpr const char* kBundleId = "BundleID";
  static constexpr const char* kInputSourceId = "InputSourceID";
  // String properties by name; a property the source does not have is missing.
  std::map<std::string, std::string> properties;

  std::optional<std::string> property(const std::string& name) const {
    auto found = properties.find(name);
    if (found == properties.end()) return std::nullopt;
    return found->second;
  }
};

class InputSourceRegistry {
 public:
  virtual ~InputSourceRegistry() = default;
  // Registers the bundle at `bundlePath`; answers the system's status code, 0 on success.
  virtual std::int32_t registerBundle(const std::string& bundlePath) = 0;
  // The sources whose bundle identifier is `bundleId`, installed ones included when
  // `includeAllInstalled`; absent when the system gives no list.
  virtual std::optional<std::vector<InputSourceInfo>> sources(const std::string& bundleId,
                                                              bool includeAllInstalled) = 0;
};

}  // namespace ornav
