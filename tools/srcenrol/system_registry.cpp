#include "system_registry.h"

#if defined(__APPLE__)
#include "carbon_input_source_registry.h"
#else
#include <cstdlib>

#include "emulated_input_source_registry.h"
#include "gsettings_input_source_registry.h"
#endif

namespace srcenrol {

std::unique_ptr<InputSourceRegistry> systemRegistry() {
#if defined(__APPLE__)
  return std::make_unique<CarbonInputSourceRegistry>();
#else
  // ORNAV_PREFIX names a scratch root with the emulated registry (the tool's own tests); the
  // desktop's input-source list otherwise.
  if (const char* prefix = std::getenv("ORNAV_PREFIX"); prefix != nullptr && *prefix != '\0') {
    return std::make_unique<EmulatedInputSourceRegistry>(
        EmulatedInputSourceRegistry::defaultPrefix());
  }
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return std::make_unique<GSettingsInputSourceRegistry>(desktop != nullptr ? desktop : "");
#endif
}

}  // namespace srcenrol
