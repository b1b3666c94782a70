#include "core/controller_engine.h"

#include <filesystem>
#include <system_error>

namespace ornav {

std::optional<EngineDirectories> engineDirectoriesOf(const Bundle* bundle, const Folders* folders) {
  if (bundle == nullptr) return std::nullopt;
  const std::filesystem::path resources = bundle->resourcePath();
  if (resources.empty()) return std::nullopt;

  EngineDirectories dirs{resources.string() + "/dict", std::nullopt};
  if (folders != nullptr && !folders->applicationSupport().empty()) {
    const std::filesystem::path dir = folders->applicationSupport() / "Ornavel";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    dirs.userDir = dir.string();
  }
  return dirs;
}

}  // namespace ornav
