// Opening a map file for inspection, with a reason a person can act on when it fails.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "fst_map.h"

namespace ornav::dict {

struct MapFileResult {
  std::optional<fst::Map> map;
  bool io_error = false;  // could not read the file (as opposed to: not a map)
  std::string error;      // "path: why" when map is empty
};

MapFileResult openMapFile(const std::filesystem::path& path);

}  // namespace ornav::dict
