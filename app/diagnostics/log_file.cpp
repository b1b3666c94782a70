#include "diagnostics/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/files.h"

namespace ornav::log_file {
namespace {

bool isAcceptable(int fd, Location location) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  // Never a FIFO, a device or a directory, wherever the name points.
  if (!S_ISREG(info.st_mode)) return false;
  if (location == Location::sharedTemporary) {
    if (info.st_uid != geteuid()) return false;
    if (info.st_nlink != 1) return false;
  }
  return true;
}

}  // namespace

bool append(const std::string& path, std::string_view bytes, Location location) {
  if (path.empty()) return false;
  // O_NONBLOCK keeps a planted FIFO without a reader from hanging the caller; it has no effect
  // on regular files.
  int flags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK;
  if (location == Location::sharedTemporary) flags |= O_NOFOLLOW;
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  const bool ok = isAcceptable(fd, location) && writeAll(fd, bytes);
  ::close(fd);
  return ok;
}

}  // namespace ornav::log_file
