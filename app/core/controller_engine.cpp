#include "core/controller_engine.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace ornav {

std::unique_ptr<OrnavEngine> makeControllerEngine(const Bundle* bundle, const Folders* folders,
                                                  const EngineApi& api) {
  if (bundle == nullptr) return nullptr;
  const std::filesystem::path resources = bundle->resourcePath();
  if (resources.empty()) return nullptr;

  std::optional<std::string> userDir;
  if (folders != nullptr && !folders->applicationSupport().empty()) {
    const std::filesystem::path dir = folders->applicationSupport() / "Ornavel";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    userDir = dir.string();
  }
  return OrnavEngine::create(resources.string() + "/dict", userDir, api);
}

}  // namespace ornav
