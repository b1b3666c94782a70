#include "platform/linux/run_loop.h"

#include <algorithm>
#include <atomic>

namespace ornav::linux_platform {

// Shared between a timer's handle and its one pending entry; the entry re-arms the next one, so
// nothing refers back to the entry and no cycle keeps the state alive. Only the main thread
// touches `tick` and `running`.
struct RunLoop::TimerState {
  std::atomic<bool> valid{true};
  bool running = false;
  SteadyClock::duration interval{};
  std::function<void()> tick;

  void invalidate() {
    valid = false;
    // Release what the callback holds at once, unless it is the callback that is invalidating.
    if (!running) tick = nullptr;
  }
};

class RunLoop::RepeatingTimer : public Timer {
 public:
  explicit RepeatingTimer(std::shared_ptr<TimerState> state) : state_(std::move(state)) {}
  ~RepeatingTimer() override { invalidate(); }
  void invalidate() override { state_->invalidate(); }
  bool isValid() const override { return state_->valid; }

 private:
  std::shared_ptr<TimerState> state_;
};

RunLoop::RunLoop() = default;
RunLoop::~RunLoop() = default;

void RunLoop::enqueue(SteadyClock::time_point due, bool immediate, std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    entries_.push(Entry{due, nextSequence_++, immediate, std::move(work)});
    if (immediate) ++pendingImmediate_;
  }
  wake_.notify_all();
}

void RunLoop::post(std::function<void()> work) {
  enqueue(SteadyClock::now(), true, std::move(work));
}

void RunLoop::postAfter(Seconds delay, std::function<void()> work) {
  delay = std::max(delay, Seconds::zero());
  enqueue(SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(delay), false,
          std::move(work));
}

void RunLoop::armTimer(std::shared_ptr<TimerState> state, SteadyClock::time_point due) {
  enqueue(due, false, [this, state, due] {
    if (!state->valid) return;
    // The next tick is due one interval after this one was, so ticks do not drift; after a long
    // stall the missed ticks are skipped instead of fired in a burst.
    auto next = due + state->interval;
    auto now = SteadyClock::now();
    if (next <= now) next = now + state->interval;
    armTimer(state, next);
    state->running = true;
    state->tick();
    state->running = false;
    if (!state->valid) state->tick = nullptr;
  });
}

std::unique_ptr<Timer> RunLoop::scheduleRepeating(Seconds interval, std::function<void()> tick) {
  auto state = std::make_shared<TimerState>();
  // A zero interval would tick on every pass of the loop; a millisecond is the floor.
  state->interval = std::max<SteadyClock::duration>(
      std::chrono::duration_cast<SteadyClock::duration>(interval), std::chrono::milliseconds(1));
  state->tick = std::move(tick);
  armTimer(state, SteadyClock::now() + state->interval);
  return std::make_unique<RepeatingTimer>(state);
}

std::optional<RunLoop::Entry> RunLoop::takeDue(SteadyClock::time_point limit) {
  std::lock_guard lock(mutex_);
  if (entries_.empty()) return std::nullopt;
  // A plain post is due at its posting time, so whatever sorts before it is due as well.
  if (entries_.top().due > limit && pendingImmediate_ == 0) return std::nullopt;
  Entry entry = std::move(const_cast<Entry&>(entries_.top()));
  entries_.pop();
  if (entry.immediate) --pendingImmediate_;
  return entry;
}

std::size_t RunLoop::runUntilIdle() {
  // Timed items count only if due when the drain began, so a timer whose tick takes longer than
  // its interval cannot keep the drain going for ever.
  const auto start = SteadyClock::now();
  std::size_t ran = 0;
  while (auto entry = takeDue(start)) {
    entry->work();
    ++ran;
  }
  return ran;
}

bool RunLoop::drive(std::optional<SteadyClock::time_point> end,
                    const std::function<bool()>& stopWhen) {
  for (;;) {
    if (stopWhen && stopWhen()) return true;
    {
      std::lock_guard lock(mutex_);
      if (stopRequested_) {
        stopRequested_ = false;
        return false;
      }
    }
    if (auto entry = takeDue(SteadyClock::now())) {
      entry->work();
      continue;
    }
    std::unique_lock lock(mutex_);
    if (stopRequested_) continue;  // taken at the top of the loop
    auto now = SteadyClock::now();
    if (end && now >= *end) return false;
    std::optional<SteadyClock::time_point> wakeAt = end;
    if (!entries_.empty() && (!wakeAt || entries_.top().due < *wakeAt)) {
      wakeAt = entries_.top().due;
    }
    if (!wakeAt) {
      wake_.wait(lock);
    } else if (*wakeAt > now) {
      wake_.wait_until(lock, *wakeAt);
    }
  }
}

void RunLoop::runFor(Seconds duration) {
  drive(SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(duration), {});
}

bool RunLoop::runUntil(const std::function<bool()>& done, Seconds timeout) {
  return drive(SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(timeout),
               done);
}

void RunLoop::run() {
  drive(std::nullopt, {});
}

void RunLoop::stop() {
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  wake_.notify_all();
}

std::optional<RunLoop::SteadyClock::time_point> RunLoop::nextDue() const {
  std::lock_guard lock(mutex_);
  if (entries_.empty()) return std::nullopt;
  return entries_.top().due;
}

}  // namespace ornav::linux_platform
