// The registry of the machine the tool runs on: Carbon's text input sources on a Mac, the file
// emulation everywhere else.
#pragma once

#include <memory>

#include "input_source_registry.h"

namespace srcenrol {

std::unique_ptr<InputSourceRegistry> systemRegistry();

}  // namespace srcenrol
