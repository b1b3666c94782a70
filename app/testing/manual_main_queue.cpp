#include "testing/manual_main_queue.h"

#include <vector>

namespace ornav::testing {

struct ManualMainQueue::TimerState {
  bool valid = true;
  double interval = 0;
  std::function<void()> tick;
};

class ManualMainQueue::ManualTimer : public Timer {
 public:
  explicit ManualTimer(std::shared_ptr<TimerState> state) : state_(std::move(state)) {}
  ~ManualTimer() override { invalidate(); }
  void invalidate() override { state_->valid = false; }
  bool isValid() const override { return state_->valid; }

 private:
  std::shared_ptr<TimerState> state_;
};

void ManualMainQueue::schedule(double due, std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    items_.emplace(Key{due, sequence_++}, std::move(work));
  }
  posted_.notify_all();
}

void ManualMainQueue::post(std::function<void()> work) {
  double due;
  {
    std::lock_guard lock(mutex_);
    due = now_;
  }
  schedule(due, std::move(work));
}

void ManualMainQueue::postAfter(Seconds delay, std::function<void()> work) {
  double due;
  {
    std::lock_guard lock(mutex_);
    due = now_ + std::max(0.0, delay.count());
  }
  schedule(due, std::move(work));
}

void ManualMainQueue::armTimer(std::shared_ptr<TimerState> state, double due) {
  schedule(due, [this, state, due] {
    if (!state->valid) return;
    armTimer(state, due + state->interval);
    state->tick();
  });
}

std::unique_ptr<Timer> ManualMainQueue::scheduleRepeating(Seconds interval,
                                                          std::function<void()> tick) {
  auto state = std::make_shared<TimerState>();
  state->interval = std::max(interval.count(), 0.001);
  state->tick = std::move(tick);
  {
    std::lock_guard lock(mutex_);
    timers_.push_back(state);
  }
  armTimer(state, now().count() + state->interval);
  return std::make_unique<ManualTimer>(state);
}

std::size_t ManualMainQueue::runUntil(double time) {
  std::size_t ran = 0;
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard lock(mutex_);
      if (items_.empty() || items_.begin()->first.first > time) break;
      double due = items_.begin()->first.first;
      work = std::move(items_.begin()->second);
      items_.erase(items_.begin());
      if (due > now_) {
        if (clock_) clock_->advance(Seconds(due - now_));
        now_ = due;
      }
    }
    work();
    ++ran;
  }
  std::lock_guard lock(mutex_);
  if (time > now_) {
    if (clock_) clock_->advance(Seconds(time - now_));
    now_ = time;
  }
  return ran;
}

std::size_t ManualMainQueue::drain() {
  return runUntil(now().count());
}

std::size_t ManualMainQueue::advance(Seconds by) {
  return runUntil(now().count() + std::max(0.0, by.count()));
}

std::size_t ManualMainQueue::waitAndDrain(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, timeout,
                     [this] { return !items_.empty() && items_.begin()->first.first <= now_; });
  }
  return drain();
}

std::size_t ManualMainQueue::pending() const {
  std::lock_guard lock(mutex_);
  return items_.size();
}

std::vector<Seconds> ManualMainQueue::timerIntervals() const {
  std::lock_guard lock(mutex_);
  std::vector<Seconds> intervals;
  for (const auto& weak : timers_) {
    if (auto state = weak.lock(); state && state->valid) intervals.emplace_back(state->interval);
  }
  return intervals;
}

Seconds ManualMainQueue::now() const {
  std::lock_guard lock(mutex_);
  return Seconds(now_);
}

void ManualBackgroundQueue::post(std::function<void()> work) {
  std::lock_guard lock(mutex_);
  work_.push_back(std::move(work));
}

std::size_t ManualBackgroundQueue::runAll() {
  std::size_t ran = 0;
  for (;;) {
    std::vector<std::function<void()>> batch;
    {
      std::lock_guard lock(mutex_);
      batch.swap(work_);
    }
    if (batch.empty()) return ran;
    for (auto& work : batch) {
      work();
      ++ran;
    }
  }
}

std::size_t ManualBackgroundQueue::pending() const {
  std::lock_guard lock(mutex_);
  return work_.size();
}

}  // namespace ornav::testing
