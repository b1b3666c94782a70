// A clock that stands still until the test moves it.
#pragma once

#include <chrono>
#include <mutex>

#include "ports/clock.h"

namespace ornav::testing {

class FakeClock : public Clock {
 public:
  // Starts at 2026-01-01 00:00:00 UTC, a fixed point far from 0.
  FakeClock() : now_(std::chrono::system_clock::time_point(std::chrono::seconds(1767225600))) {}

  std::chrono::system_clock::time_point now() const override {
    std::lock_guard lock(mutex_);
    return now_;
  }
  void set(std::chrono::system_clock::time_point when) {
    std::lock_guard lock(mutex_);
    now_ = when;
  }
  void setSecondsSince1970(double seconds) {
    set(std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::duration<double>(seconds))));
  }
  void advance(std::chrono::duration<double> by) {
    std::lock_guard lock(mutex_);
    now_ += std::chrono::duration_cast<std::chrono::system_clock::duration>(by);
  }

 private:
  mutable std::mutex mutex_;
  std::chrono::system_clock::time_point now_;
};

}  // namespace ornav::testing
