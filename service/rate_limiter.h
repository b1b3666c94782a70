// Counts requests per key (a device, an address) in fixed windows and says when a key has used
// up its window. Kept in memory by each service process: with several processes behind a load
// balancer a key may get up to that many times the limit.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace ornav::service {

class RateLimiter {
 public:
  // `limit` requests per `windowSeconds`; a limit of 0 allows everything.
  RateLimiter(std::int64_t limit, std::int64_t windowSeconds);

  // Counts one request of `key` at `now` (seconds); false when it is over the limit.
  bool allow(const std::string& key, std::int64_t now);

 private:
  struct Window {
    std::int64_t start = 0;
    std::int64_t count = 0;
  };

  std::int64_t limit_;
  std::int64_t windowSeconds_;
  std::mutex mutex_;
  std::int64_t lastSweep_ = 0;
  std::unordered_map<std::string, Window> windows_;
};

}  // namespace ornav::service
