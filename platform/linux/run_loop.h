// The Linux main queue: a thread-safe queue of work items and timed entries that the host's main
// thread drives (the Qt host pumps it from its own event loop; tests call runFor / runUntilIdle).
//
// Invariants: items run one at a time on the thread that drives the loop, never while the lock is
// held; among items that are due, the one due earliest runs first, and items due at the same
// moment run in posting order.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <vector>

#include "ports/main_queue.h"

namespace ornav::linux_platform {

class RunLoop : public MainQueue {
 public:
  using SteadyClock = std::chrono::steady_clock;

  RunLoop();
  ~RunLoop() override;
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  void post(std::function<void()> work) override;
  void postAfter(Seconds delay, std::function<void()> work) override;
  std::unique_ptr<Timer> scheduleRepeating(Seconds interval, std::function<void()> tick) override;

  // Runs every item that is due now, including items they post for immediate running; items
  // (and timer ticks) that only become due meanwhile wait for the next call. Returns how many ran.
  std::size_t runUntilIdle();
  // Runs items as they become due until `duration` has passed (or stop() is called).
  void runFor(Seconds duration);
  // Runs items until `done` answers true (checked after every item) or `timeout` has passed;
  // answers whether `done` became true.
  bool runUntil(const std::function<bool()>& done, Seconds timeout);
  // Runs items until stop() is called, from any thread.
  void run();
  void stop();

  // When the next timed item is due; absent when nothing is waiting.
  std::optional<SteadyClock::time_point> nextDue() const;

 private:
  struct Entry {
    SteadyClock::time_point due;
    std::uint64_t sequence;
    bool immediate;  // posted with post(), not for a later time
    std::function<void()> work;
  };
  struct Later {
    bool operator()(const Entry& a, const Entry& b) const {
      return a.due != b.due ? a.due > b.due : a.sequence > b.sequence;
    }
  };
  class RepeatingTimer;
  struct TimerState;

  void enqueue(SteadyClock::time_point due, bool immediate, std::function<void()> work);
  void armTimer(std::shared_ptr<TimerState> state, SteadyClock::time_point due);
  // Takes the first item if it is due at or before `limit`, or if it is due at all while a plain
  // post waits behind it.
  std::optional<Entry> takeDue(SteadyClock::time_point limit);
  // Runs due items until `stopWhen` answers true or `end` is reached; answers whether it stopped
  // because of `stopWhen`.
  bool drive(std::optional<SteadyClock::time_point> end, const std::function<bool()>& stopWhen);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::priority_queue<Entry, std::vector<Entry>, Later> entries_;
  std::uint64_t nextSequence_ = 0;
  std::size_t pendingImmediate_ = 0;
  bool stopRequested_ = false;
};

}  // namespace ornav::linux_platform
