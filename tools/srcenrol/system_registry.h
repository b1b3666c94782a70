// The registry of the machine the tool runs on: Carbon's text input sources on a Mac, the
// desktop's input-source list in GSettings on Linux, the file emulation under ORNAV_PREFIX.
#pragma once

#include <memory>

#include "input_source_registry.h"

namespace srcenrol {

std::unique_ptr<InputSourceRegistry> systemRegistry();

}  // namespace srcenrol
