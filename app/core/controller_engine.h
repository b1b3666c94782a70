// The engine a new input controller gets: the shipped dictionary in the bundle's resources
// ("<resources>/dict") and the user's own files in "Ornavel" inside Application Support.
#pragma once

#include <memory>

#include "core/ornav_engine_binding.h"
#include "ports/bundle.h"

namespace ornav {

// Null when there is no resource folder (nothing is logged then) or the engine refuses the
// directories (OrnavEngine logs that). Without an Application Support folder the engine runs
// without user files. The user folder is created first; a failure to create it is ignored.
std::unique_ptr<OrnavEngine> makeControllerEngine(const Bundle* bundle, const Folders* folders,
                                                  const EngineApi& api = realEngineApi());

}  // namespace ornav
