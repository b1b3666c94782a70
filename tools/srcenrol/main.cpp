// srcenrol: registers the installed input method with the system's text input sources and
// reports what the system lists. Arguments are ignored; the exit status is always 0.
#include <iostream>

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
  return srcenrol::enrol(registry, std::cout);
}
