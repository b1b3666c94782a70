// srcenrol-listed: exits 0 when the system already lists an input source of the installed input
// method and 1 when it does not; prints nothing. The installer runs it first so that an upgrade
// does not register the bundle a second time (which would list every mode twice).
#include "enrol.h"
#include "system_registry.h"

int main() {
  const auto sources = srcenrol::systemRegistry()->sourcesOfBundle(srcenrol::kBundleIdentifier);
  return sources && !sources->empty() ? 0 : 1;
}
