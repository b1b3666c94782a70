// A fresh folder under the system's temporary folder, removed with everything in it when the
// object ends: scratch space for a tool's run, a headless session or a test.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ornav {

class TemporaryFolder {
 public:
  // `prefix` starts the folder's name. When no folder can be made, path() is empty.
  explicit TemporaryFolder(std::string_view prefix = "ornav");
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  // Writes `content` to `name` (relative to the folder), creating parent folders; the file's path.
  std::filesystem::path write(std::string_view name, std::string_view content) const;

 private:
  std::filesystem::path path_;
};

}  // namespace ornav
