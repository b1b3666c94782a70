#include "testing/fake_system.h"

#include <system_error>

namespace ornav::testing {

FakeBundle::FakeBundle() {
  std::filesystem::create_directories(resourcePath());
  info["CFBundleIdentifier"] = std::string("com.ornav.inputmethod.Ornavel");
  info["CFBundleShortVersionString"] = std::string("1.0");
  info["CFBundleVersion"] = std::string("1");
}

std::filesystem::path FakeBundle::addResource(const std::string& name, const std::string& content) {
  return root_.write("Ornavel.app/Contents/Resources/" + name, content);
}

std::optional<InfoValue> FakeBundle::infoValue(const std::string& key) const {
  auto found = info.find(key);
  if (found == info.end()) return std::nullopt;
  return found->second;
}

std::filesystem::path FakeBundle::bundlePath() const {
  return root_ / "Ornavel.app";
}

std::filesystem::path FakeBundle::resourcePath() const {
  return bundlePath() / "Contents" / "Resources";
}

std::optional<std::filesystem::path> FakeBundle::pathForResource(
    const std::string& name, const std::string& extension) const {
  auto path = resourcePath() / (extension.empty() ? name : name + "." + extension);
  std::error_code error;
  if (name.empty() || !std::filesystem::exists(path, error)) return std::nullopt;
  return path;
}

FakeFolders::FakeFolders() {
  for (const char* folder : {"home", "support", "caches", "tmp"}) {
    std::filesystem::create_directories(root_ / folder);
  }
}

}  // namespace ornav::testing
