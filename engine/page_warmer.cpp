#include "page_warmer.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>

namespace ornav {

PageWarmer::PageWarmer(std::vector<std::shared_ptr<const FileBytes>> files)
    : files_(std::move(files)), thread_([this] { run(); }) {}

PageWarmer::~PageWarmer() {
  stop_.store(true, std::memory_order_relaxed);
  thread_.join();
}

void PageWarmer::wait() const {
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [this] { return done_; });
}

void PageWarmer::run() {
  const long page_size = ::sysconf(_SC_PAGESIZE);
  const std::size_t page = page_size > 0 ? static_cast<std::size_t>(page_size) : 4096;
  constexpr std::size_t kPagesBetweenStopChecks = 64;
  std::uint8_t sink = 0;
  for (const auto& file : files_) {
    if (!file || !file->mapped()) continue;  // a copy is in memory already
    const auto bytes = file->bytes();
    for (std::size_t at = 0, n = 0; at < bytes.size(); at += page, ++n) {
      if (n % kPagesBetweenStopChecks == 0 && stop_.load(std::memory_order_relaxed)) break;
      sink ^= *static_cast<const volatile std::uint8_t*>(bytes.data() + at);
    }
  }
  static_cast<void>(sink);
  const std::lock_guard lock(mutex_);
  done_ = true;
  finished_.notify_all();
}

}  // namespace ornav
