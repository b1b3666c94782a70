// The main thread's queue and its repeating timers. Everything that touches a controller, an
// engine, a window or a timer runs on the main queue; background work hands results back here.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace ornav {

using Seconds = std::chrono::duration<double>;

// A repeating timer on the main queue. Destroying the handle invalidates the timer, so a timer
// never outlives (and never calls into) the object that owns its handle.
class Timer {
 public:
  virtual ~Timer() = default;
  // Stops the timer for good. Call on the main thread; safe to call repeatedly, also from inside
  // its own callback.
  virtual void invalidate() = 0;
  virtual bool isValid() const = 0;
};

class MainQueue {
 public:
  virtual ~MainQueue() = default;

  // Runs `work` on the main thread after the current work item returns, in posting order.
  // Safe to call from any thread.
  virtual void post(std::function<void()> work) = 0;

  // Runs `work` on the main thread once `delay` has passed. Safe to call from any thread.
  virtual void postAfter(Seconds delay, std::function<void()> work) = 0;

  // A timer that calls `tick` on the main thread every `interval`, first after one interval.
  // Call on the main thread.
  virtual std::unique_ptr<Timer> scheduleRepeating(Seconds interval,
                                                   std::function<void()> tick) = 0;
};

// Background work (a concurrent global queue): `work` runs on some other thread soon.
class BackgroundQueue {
 public:
  virtual ~BackgroundQueue() = default;
  virtual void post(std::function<void()> work) = 0;
};

}  // namespace ornav
