#include "rate_limiter.h"

namespace ornav::service {
namespace {

// Past this many keys, the windows that ended are dropped, so a stream of new keys cannot grow
// the table without bound.
constexpr std::size_t kKeysBeforeSweep = 100000;

}  // namespace

RateLimiter::RateLimiter(std::int64_t limit, std::int64_t windowSeconds)
    : limit_(limit), windowSeconds_(windowSeconds > 0 ? windowSeconds : 1) {}

bool RateLimiter::allow(const std::string& key, std::int64_t now) {
  if (limit_ <= 0) return true;
  std::lock_guard lock(mutex_);
  if (windows_.size() >= kKeysBeforeSweep && now != lastSweep_) {
    lastSweep_ = now;
    std::erase_if(windows_,
                  [&](const auto& entry) { return now - entry.second.start >= windowSeconds_; });
  }
  Window& window = windows_[key];
  if (now - window.start >= windowSeconds_) window = {now, 0};
  return ++window.count <= limit_;
}

}  // namespace ornav::service
