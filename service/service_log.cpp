#include "service_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace ornav::service {

void logLine(const std::string& message) {
  static std::mutex mutex;
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char stamp[32] = {};
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  std::lock_guard lock(mutex);
  std::fprintf(stderr, "%s ornavel-service: %s\n", stamp, message.c_str());
  std::fflush(stderr);
}

std::int64_t wallClockSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace ornav::service
