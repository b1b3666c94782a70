// The main queue, its repeating timers and background work on macOS: Grand Central Dispatch's
// main queue (drained by the main run loop, also while a menu tracks or an alert is modal), an
// NSTimer on the main run loop in its common modes, and a global queue of user-initiated quality.
#pragma once

#include <functional>
#include <memory>

#include "ports/main_queue.h"

namespace ornav::mac_platform {

class DispatchMainQueue final : public MainQueue {
 public:
  void post(std::function<void()> work) override;
  void postAfter(Seconds delay, std::function<void()> work) override;
  std::unique_ptr<Timer> scheduleRepeating(Seconds interval, std::function<void()> tick) override;
};

// A repeating NSTimer on the main run loop. The handle owns it: destroying the handle invalidates
// the timer, whose block then releases `tick`.
class RunLoopTimer final : public Timer {
 public:
  RunLoopTimer(Seconds interval, std::function<void()> tick);
  ~RunLoopTimer() override;
  RunLoopTimer(const RunLoopTimer&) = delete;
  RunLoopTimer& operator=(const RunLoopTimer&) = delete;

  void invalidate() override;
  bool isValid() const override;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

class DispatchBackgroundQueue final : public BackgroundQueue {
 public:
  void post(std::function<void()> work) override;
};

}  // namespace ornav::mac_platform
