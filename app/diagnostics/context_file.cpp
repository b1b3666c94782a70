#include "diagnostics/context_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace ornav {
namespace {

constexpr std::size_t kBlock = 4096;

}  // namespace

ContextFile::~ContextFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool ContextFile::open() {
  if (fd_ >= 0) {
    // Removed or replaced behind our back: write to the name again, not to a lost inode. One
    // look at the name is enough: while it leads to the open file, that file is linked.
    struct stat named {};
    if (::stat(path_.c_str(), &named) == 0 &&
        static_cast<unsigned long long>(named.st_ino) == inode_ &&
        static_cast<unsigned long long>(named.st_dev) == device_) {
      return true;
    }
    ::close(fd_);
    fd_ = -1;
  }
  std::error_code ignored;
  std::filesystem::create_directories(path_.parent_path(), ignored);
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) return false;
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  size_ = static_cast<std::size_t>(info.st_size);
  device_ = static_cast<unsigned long long>(info.st_dev);
  inode_ = static_cast<unsigned long long>(info.st_ino);
  return true;
}

bool ContextFile::replace(std::string_view content) {
  std::lock_guard lock(mutex_);
  if (!open()) return false;
  // The file never shrinks, so an older, longer version can never show behind a newer one.
  const std::size_t needed = content.size() + 1;
  if (needed > size_) size_ = (needed + kBlock - 1) / kBlock * kBlock;
  std::string padded(content);
  padded.resize(size_ - 1, ' ');
  padded.push_back('\n');
  ssize_t written = -1;
  do {
    written = ::pwrite(fd_, padded.data(), padded.size(), 0);
  } while (written < 0 && errno == EINTR);
  return written == static_cast<ssize_t>(padded.size());
}

}  // namespace ornav
