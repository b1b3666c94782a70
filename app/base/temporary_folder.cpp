#include "base/temporary_folder.h"

// mkdtemp: <stdlib.h> on glibc, <unistd.h> on Darwin.
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <system_error>

namespace ornav {

TemporaryFolder::TemporaryFolder(std::string_view prefix) {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TemporaryFolder::write(std::string_view name,
                                             std::string_view content) const {
  const std::filesystem::path file = path_ / name;
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(content.data(), static_cast<std::streamsize>(content.size()));
  return file;
}

}  // namespace ornav
