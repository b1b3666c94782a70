// srcenrol: registers the installed input method with the system's text input sources and
// reports what the system lists. Arguments are ignored; the exit status is always 0.
#include <iostream>

#include "enrol.h"
#include "system_registry.h"

int main() {
  return srcenrol::enrol(*srcenrol::systemRegistry(), std::cout);
}
