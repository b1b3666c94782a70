// The system's list of text input sources, as the registration tool sees it: register a bundle,
// then list the sources that carry a bundle identifier. The tool has its own small interface (it
// shares no code with the input method); Carbon realises it on a Mac, files under a prefix
// emulate it elsewhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace srcenrol {

// The input source identifier of each listed source, in list order; a source without one is an
// empty optional (it still counts as listed).
using ListedSources = std::vector<std::optional<std::string>>;

class InputSourceRegistry {
 public:
  virtual ~InputSourceRegistry() = default;

  // Registers the bundle at `bundlePath`; the system's status code, 0 on success.
  virtual std::int32_t registerBundle(const std::string& bundlePath) = 0;

  // The installed sources (enabled or not) whose bundle identifier is `bundleIdentifier`;
  // absent when the system gives no list at all.
  virtual std::optional<ListedSources> sourcesOfBundle(const std::string& bundleIdentifier) = 0;
};

}  // namespace srcenrol
