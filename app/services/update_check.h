// Reading the answer of the update check; the operation itself is
// UpdateServiceOperations::checkForUpdates.
#pragma once

#include <optional>
#include <string_view>

#include "services/update_types.h"

namespace ornav::update_check {

// The version the answer describes, with its links normalised; absent when the body is not a
// JSON object or has no string "version".
std::optional<UpdateInfo> readUpdateAnswer(std::string_view body);

}  // namespace ornav::update_check
