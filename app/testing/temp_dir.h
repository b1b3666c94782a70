// Tests use the application's temporary folder under their own short name.
#pragma once

#include "base/temporary_folder.h"

namespace ornav::testing {

using TempDir = TemporaryFolder;

}  // namespace ornav::testing
