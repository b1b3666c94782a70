// The current wall-clock time. Code that decides on elapsed time (upload throttle, update checks)
// asks this port so that tests can set the time.
#pragma once

#include <chrono>

namespace ornav {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::system_clock::time_point now() const = 0;

  // Seconds since 1970-01-01 00:00 UTC, with fractions.
  double secondsSince1970() const {
    return std::chrono::duration<double>(now().time_since_epoch()).count();
  }
};

}  // namespace ornav
