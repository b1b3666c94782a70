#include "open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ornav {
namespace {

std::int64_t ns(const struct timespec& t) {
  return std::int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

OpenFile::Id id_of(const struct stat& st) {
#ifdef __APPLE__
  const struct timespec& modified = st.st_mtimespec;
  const struct timespec& changed = st.st_ctimespec;
#else
  const struct timespec& modified = st.st_mtim;
  const struct timespec& changed = st.st_ctim;
#endif
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size), ns(modified), ns(changed)};
}

}  // namespace

OpenFile::OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
  struct stat st {};
  if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
    id_ = id_of(st);
    ok_ = true;
  }
}

OpenFile::~OpenFile() {
  if (fd_ >= 0) ::close(fd_);
}

OpenFile::Id file_id(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  return id_of(st);
}

}  // namespace ornav
