// A main queue the test drives by hand, with its own virtual time: posted work runs when the test
// drains the queue, delayed work and timer ticks when the test advances the time past them.
// Posting is safe from any thread (real HTTP tests post from background threads).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "ports/main_queue.h"
#include "testing/fake_clock.h"

namespace ornav::testing {

class ManualMainQueue : public MainQueue {
 public:
  // With a clock, advancing the queue's time moves the clock by the same amount.
  explicit ManualMainQueue(FakeClock* clock = nullptr) : clock_(clock) {}

  void post(std::function<void()> work) override;
  void postAfter(Seconds delay, std::function<void()> work) override;
  std::unique_ptr<Timer> scheduleRepeating(Seconds interval, std::function<void()> tick) override;

  // Runs everything due at the current virtual time, including what that work posts.
  // Answers how many items ran.
  std::size_t drain();
  // Moves the virtual time forward by `by`, running every item as its time comes, in order.
  std::size_t advance(Seconds by);
  // Waits (really) until something is queued for now, up to `timeout`, then drains. Answers how
  // many ran. For completions that background threads post.
  std::size_t waitAndDrain(std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // Items waiting, due now or later (invalidated timers not counted once they are skipped).
  std::size_t pending() const;
  // The intervals of the repeating timers still valid, in the order they were made.
  std::vector<Seconds> timerIntervals() const;
  Seconds now() const;

 private:
  struct TimerState;
  class ManualTimer;
  using Key = std::pair<double, std::uint64_t>;  // due time, posting order

  void schedule(double due, std::function<void()> work);
  void armTimer(std::shared_ptr<TimerState> state, double due);
  std::size_t runUntil(double time);

  FakeClock* clock_;
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::map<Key, std::function<void()>> items_;
  std::vector<std::weak_ptr<TimerState>> timers_;
  std::uint64_t sequence_ = 0;
  double now_ = 0;  // virtual seconds since the queue was made
};

// Background work that runs only when the test says so, on the test's thread.
class ManualBackgroundQueue : public BackgroundQueue {
 public:
  void post(std::function<void()> work) override;
  // Runs queued work (and work it queues) until none is left; answers how many ran.
  std::size_t runAll();
  std::size_t pending() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::function<void()>> work_;
};

}  // namespace ornav::testing
