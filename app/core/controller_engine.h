// Where the engine of a new input controller reads from: the shipped dictionary in the bundle's
// resources ("<resources>/dict") and the user's own files in "Ornavel" inside Application Support.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/ornav_engine_binding.h"
#include "ports/bundle.h"

namespace ornav {

struct EngineDirectories {
  std::string dictDir;
  std::optional<std::string> userDir;  // none: the engine runs without user files
};

// Absent when there is no resource folder. Without an Application Support folder the engine runs
// without user files. The user folder is created; a failure to create it is ignored (the engine
// then keeps its counts in memory).
std::optional<EngineDirectories> engineDirectoriesOf(const Bundle* bundle, const Folders* folders);

}  // namespace ornav
