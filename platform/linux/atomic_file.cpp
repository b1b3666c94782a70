#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <sstream>
#include <system_error>

namespace ornav::linux_platform {

namespace {
std::string errnoText(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Creates the missing folders of `folder` readable by the owner only; existing ones are left as
// they are.
std::optional<std::string> createFolders(const std::filesystem::path& folder) {
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return std::nullopt;
  if (folder.has_parent_path() && folder.parent_path() != folder) {
    if (auto failed = createFolders(folder.parent_path())) return failed;
  }
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return errnoText("cannot create " + folder.string(), errno);
  }
  if (!std::filesystem::is_directory(folder, error)) return "not a folder: " + folder.string();
  return std::nullopt;
}

std::string temporaryName(const std::filesystem::path& path) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  std::ostringstream name;
  name << "." << path.filename().string() << ".tmp-" << ::getpid() << "-" << std::hex << random();
  return name.str();
}
}  // namespace

std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view content, unsigned mode) {
  const auto folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
  if (auto error = createFolders(folder)) return error;

  const auto temporary = folder / temporaryName(path);
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return errnoText("cannot create " + temporary.string(), errno);
  if (!writeAll(fd, content) || ::fsync(fd) != 0) {
    int saved = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return errnoText("cannot write " + temporary.string(), saved);
  }
  if (::close(fd) != 0) {
    int saved = errno;
    ::unlink(temporary.c_str());
    return errnoText("cannot write " + temporary.string(), saved);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    int saved = errno;
    ::unlink(temporary.c_str());
    return errnoText("cannot replace " + path.string(), saved);
  }
  // Make the rename itself durable.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return std::nullopt;
}

}  // namespace ornav::linux_platform
