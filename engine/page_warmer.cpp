#include "page_warmer.h"

#include <unistd.h>

#include <cstdint>
#include <limits>

namespace ornav {
namespace {

std::size_t system_page_size() {
  const long size = ::sysconf(_SC_PAGESIZE);
  return size > 0 ? static_cast<std::size_t>(size) : 4096;
}

}  // namespace

PageWarmer::PageWarmer(std::vector<std::shared_ptr<const FileBytes>> files,
                       std::size_t synchronous_bytes, PageHook after_page)
    : files_(std::move(files)), page_(system_page_size()), after_page_(std::move(after_page)) {
  std::size_t total = 0;
  for (const auto& file : files_) {
    if (file && file->mapped()) total += file->bytes().size();  // a copy is in memory already
  }
  const std::size_t done = read(0, synchronous_bytes);
  if (done >= total) {
    finish();
    return;
  }
  thread_ = std::thread([this, done] {
    read(done, std::numeric_limits<std::size_t>::max());
    finish();
  });
}

PageWarmer::~PageWarmer() {
  stop();
  if (thread_.joinable()) thread_.join();
}

void PageWarmer::stop() {
  stop_.store(true, std::memory_order_relaxed);
}

void PageWarmer::wait() const {
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [this] { return done_; });
}

std::size_t PageWarmer::read(std::size_t skip, std::size_t limit) {
  std::size_t position = 0;  // in the files taken as one sequence
  std::size_t read_bytes = 0;
  std::size_t pages = 0;
  std::uint8_t sink = 0;
  for (const auto& file : files_) {
    if (!file || !file->mapped()) continue;
    const auto bytes = file->bytes();
    if (position + bytes.size() <= skip) {
      position += bytes.size();
      continue;
    }
    for (std::size_t at = skip > position ? skip - position : 0; at < bytes.size(); at += page_) {
      if (read_bytes >= limit) return position + at;
      if (++pages % kPagesBetweenStopChecks == 0 && stop_.load(std::memory_order_relaxed))
        return position + at;
      sink ^= *static_cast<const volatile std::uint8_t*>(bytes.data() + at);
      read_bytes += page_;
      if (after_page_) after_page_();
    }
    position += bytes.size();
  }
  static_cast<void>(sink);
  return position;
}

void PageWarmer::finish() {
  const std::lock_guard lock(mutex_);
  done_ = true;
  finished_.notify_all();
}

}  // namespace ornav
