// The system's list of text input sources on a Mac, through Carbon's Text Input Source Services.
#pragma once

#include "input_source_registry.h"

namespace srcenrol {

class CarbonInputSourceRegistry final : public InputSourceRegistry {
 public:
  std::int32_t registerBundle(const std::string& bundlePath) override;
  std::optional<ListedSources> sourcesOfBundle(const std::string& bundleIdentifier) override;
};

}  // namespace srcenrol
