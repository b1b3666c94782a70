#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <sstream>

namespace ornav {
namespace {

std::string errnoText(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

// Creates the missing folders of `folder` with `mode`; existing ones are left as they are.
std::optional<std::string> createFolders(const std::filesystem::path& folder, unsigned mode) {
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return std::nullopt;
  if (folder.has_parent_path() && folder.parent_path() != folder) {
    if (auto failed = createFolders(folder.parent_path(), mode)) return failed;
  }
  if (::mkdir(folder.c_str(), mode) != 0 && errno != EEXIST) {
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

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string* error,
                                         std::uintmax_t limit) {
  const auto fail = [error](std::string why) -> std::optional<std::string> {
    if (error != nullptr) *error = std::move(why);
    return std::nullopt;
  };
  // O_NONBLOCK: a FIFO in the file's place must not hang the reader; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return fail(S_ISDIR(info.st_mode) ? "is a directory" : "not a regular file");
  }
  if (static_cast<std::uintmax_t>(info.st_size) > limit) {
    ::close(fd);
    return fail("larger than " + std::to_string(limit) + " bytes");
  }
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int saved = errno;
      ::close(fd);
      return fail(std::strerror(saved));
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    // The file may grow while it is read; the limit holds for what is returned.
    if (bytes.size() > limit) {
      ::close(fd);
      return fail("larger than " + std::to_string(limit) + " bytes");
    }
  }
  ::close(fd);
  return bytes;
}

std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view content, AtomicWrite options) {
  const auto folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
  if (options.createFolders) {
    if (auto error = createFolders(folder, options.folderMode)) return error;
  }

  const auto temporary = folder / temporaryName(path);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, options.mode);
  if (fd < 0) return errnoText("cannot create " + temporary.string(), errno);
  if (!writeAll(fd, content) || (options.flushed && ::fsync(fd) != 0)) {
    const int saved = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return errnoText("cannot write " + temporary.string(), saved);
  }
  if (::close(fd) != 0) {
    const int saved = errno;
    ::unlink(temporary.c_str());
    return errnoText("cannot write " + temporary.string(), saved);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temporary.c_str());
    return errnoText("cannot replace " + path.string(), saved);
  }
  if (options.flushed) {
    // Make the rename itself durable.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }
  return std::nullopt;
}

std::optional<std::string> findProgram(std::string_view name, std::string_view searchPath) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  while (true) {
    const std::size_t colon = searchPath.find(':');
    const std::string_view folder = searchPath.substr(0, colon);
    if (!folder.empty() && folder.front() == '/') {
      const std::string candidate = std::string(folder) + "/" + std::string(name);
      struct stat info {};
      if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
          ::access(candidate.c_str(), X_OK) == 0) {
        return candidate;
      }
    }
    if (colon == std::string_view::npos) return std::nullopt;
    searchPath.remove_prefix(colon + 1);
  }
}

}  // namespace ornav
