#include "output_file.h"

#include <fstream>

namespace ornav::corpus {
namespace fs = std::filesystem;

bool write_text(const fs::path& path, std::string_view text, std::string* error) {
  std::error_code ec;
  const auto status = fs::symlink_status(path, ec);
  if (!ec && fs::exists(status) && !fs::is_regular_file(status)) {
    *error = path.string() + " exists and is not a regular file";
    return false;
  }
  fs::path tmp = path;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
      *error = "cannot write " + tmp.string();
      fs::remove(tmp, ec);
      return false;
    }
  }
  fs::rename(tmp, path, ec);
  if (ec) {
    *error = "cannot replace " + path.string() + ": " + ec.message();
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

}  // namespace ornav::corpus
