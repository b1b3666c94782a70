#include "file_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

namespace ornav::dict {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};

}  // namespace

std::optional<std::string> readTextFile(const std::filesystem::path& path, std::string* error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    if (error) *error = "is a directory";
    return std::nullopt;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    if (error) *error = std::strerror(errno);
    return std::nullopt;
  }
  std::string text;
  char buf[1 << 16];
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, file.get());
    text.append(buf, n);
    if (n < sizeof buf) break;
  }
  if (std::ferror(file.get())) {
    if (error) *error = "read error";
    return std::nullopt;
  }
  return text;
}

bool writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string* error) {
  auto temp = path;
  temp += ".tmp." + std::to_string(::getpid());
  {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(temp.c_str(), "wb"));
    if (!file) {
      if (error) *error = std::strerror(errno);
      return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0 && ::fsync(::fileno(file.get())) == 0;
    const int saved = errno;
    if (std::fclose(file.release()) != 0 || !written) {
      if (error) *error = std::strerror(written ? errno : saved);
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    if (error) *error = ec.message();
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace ornav::dict
