// srcenrol-listed: exits 0 when the system already lists an input source of the installed input
// method and 1 when it does not; prints nothing. The installer runs it first so that an upgrade
// does not register the bundle a second time (which would list every mode twice).
#include "enrol.h"

#if defined(__APPLE__)
#include "carbon_input_source_registry.h"
#else
#include "emulated_input_source_registry.h"
#endif

int main() {
#if defined(__APPLE__)
  srcenrol::CarbonInputSourceRegistry registry;
#else
  srcenrol::EmulatedInputSourceRegistry registry(
      srcenrol::EmulatedInputSourceRegistry::defaultPrefix());
#endif
  const auto sources = registry.sourcesOfBundle(srcenrol::kBundleIdentifier);
  return sources && !sources->empty() ? 0 : 1;
}
