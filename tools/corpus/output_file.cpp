#include "output_file.h"

#include "base/files.h"

namespace ornav::corpus {
namespace fs = std::filesystem;

bool write_text(const fs::path& path, std::string_view text, std::string* error) {
  std::error_code ec;
  const auto status = fs::symlink_status(path, ec);
  if (!ec && fs::exists(status) && !fs::is_regular_file(status)) {
    *error = path.string() + " exists and is not a regular file";
    return false;
  }
  if (auto failure = writeFileAtomically(path, text, {.mode = 0644, .createFolders = false})) {
    *error = std::move(*failure);
    return false;
  }
  return true;
}

}  // namespace ornav::corpus
