#include "system_registry.h"

#if defined(__APPLE__)
#include "carbon_input_source_registry.h"
#else
#include "emulated_input_source_registry.h"
#endif

namespace srcenrol {

std::unique_ptr<InputSourceRegistry> systemRegistry() {
#if defined(__APPLE__)
  return std::make_unique<CarbonInputSourceRegistry>();
#else
  return std::make_unique<EmulatedInputSourceRegistry>(
      EmulatedInputSourceRegistry::defaultPrefix());
#endif
}

}  // namespace srcenrol
