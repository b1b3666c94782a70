#include "file_syncer.h"

#include <fcntl.h>
#include <unistd.h>

namespace ornav {

file_syncer::file_syncer(std::function<void(const std::string&)> sync) : sync_(std::move(sync)) {}

file_syncer::~file_syncer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void file_syncer::schedule(const std::string& path) {
  {
    std::lock_guard lock(mutex_);
    pending_.insert(path);
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  wake_.notify_all();
}

void file_syncer::flush() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return pending_.empty() && !busy_; });
}

void file_syncer::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    // Everything handed over is synced before the thread ends, so destruction flushes.
    if (pending_.empty()) return;
    const std::string path = *pending_.begin();
    pending_.erase(pending_.begin());
    busy_ = true;
    lock.unlock();
    sync_(path);
    lock.lock();
    busy_ = false;
    if (pending_.empty()) idle_.notify_all();
  }
}

void file_syncer::sync_path(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
}

}  // namespace ornav
