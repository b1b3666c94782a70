#include "map_file.h"

#include "base/files.h"

namespace ornav::dict {

MapFileResult openMapFile(const std::filesystem::path& path) {
  MapFileResult result;
  std::string why;
  const auto text = readWholeFile(path, &why);
  if (!text) {
    result.io_error = true;
    result.error = path.string() + ": cannot read: " + why;
    return result;
  }
  fst::OpenError error{};
  result.map = fst::Map::open(std::vector<std::uint8_t>(text->begin(), text->end()), &error);
  if (!result.map) {
    result.error = path.string() + ": not a dictionary map: " + fst::describe(error);
  }
  return result;
}

}  // namespace ornav::dict
