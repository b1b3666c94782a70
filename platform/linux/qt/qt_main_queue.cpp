#include "platform/linux/qt/qt_main_queue.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <unordered_map>

namespace ornav::linux_platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

struct TimedWork {
  std::function<void()> work;
  bool repeating = false;
};

// Whole milliseconds, rounded up so that nothing runs before its time.
std::chrono::milliseconds toMilliseconds(Seconds duration) {
  const double ms = std::ceil(std::max(duration.count(), 0.0) * 1000.0);
  return std::chrono::milliseconds(static_cast<long long>(std::min(ms, double(INT32_MAX))));
}

}  // namespace

class QtMainQueue::Receiver : public QObject {
 public:
  Receiver() {
    // Timers and queued calls run where this object lives: the GUI thread.
    if (QCoreApplication* application = QCoreApplication::instance())
      moveToThread(application->thread());
  }

  bool onOwnThread() const { return QThread::currentThread() == thread(); }

  int start(std::chrono::milliseconds interval, std::shared_ptr<TimedWork> entry) {
    const int id = startTimer(interval, Qt::PreciseTimer);
    if (id != 0) timers_.emplace(id, std::move(entry));
    return id;
  }

  void cancel(int id) {
    if (timers_.erase(id) > 0) killTimer(id);
  }

 protected:
  void timerEvent(QTimerEvent* event) override {
    const int id = event->timerId();
    auto it = timers_.find(id);
    if (it == timers_.end()) {
      killTimer(id);
      return;
    }
    const std::shared_ptr<TimedWork> entry = it->second;
    if (!entry->repeating) cancel(id);
    const std::function<void()> work = entry->work;
    if (work) work();
  }

 private:
  std::unordered_map<int, std::shared_ptr<TimedWork>> timers_;
};

class QtMainQueue::RepeatingTimer : public Timer {
 public:
  RepeatingTimer(std::weak_ptr<Receiver> receiver, int id, std::shared_ptr<TimedWork> entry)
      : receiver_(std::move(receiver)), id_(id), entry_(std::move(entry)) {}
  ~RepeatingTimer() override { invalidate(); }

  void invalidate() override {
    if (!entry_) return;
    if (auto receiver = receiver_.lock()) receiver->cancel(id_);
    entry_->work = nullptr;
    entry_.reset();
  }
  // A timer of a queue that is gone never ticks again.
  bool isValid() const override { return entry_ != nullptr && !receiver_.expired(); }

 private:
  std::weak_ptr<Receiver> receiver_;
  int id_;
  std::shared_ptr<TimedWork> entry_;
};

QtMainQueue::QtMainQueue() : receiver_(std::make_shared<Receiver>()) {}

QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::post(std::function<void()> work) {
  QMetaObject::invokeMethod(
      receiver_.get(), [work = std::move(work)] { work(); }, Qt::QueuedConnection);
}

void QtMainQueue::postAfter(Seconds delay, std::function<void()> work) {
  const SteadyClock::time_point due =
      SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(delay);
  std::weak_ptr<Receiver> weak = receiver_;
  // Qt timers belong to the thread that starts them, so another thread hands the start over;
  // the delay still counts from now.
  auto arm = [weak, due, work = std::move(work)]() mutable {
    auto receiver = weak.lock();
    if (!receiver) return;
    const Seconds remaining = std::chrono::duration_cast<Seconds>(due - SteadyClock::now());
    receiver->start(toMilliseconds(remaining),
                    std::make_shared<TimedWork>(TimedWork{std::move(work), false}));
  };
  if (receiver_->onOwnThread()) {
    arm();
  } else {
    post(std::move(arm));
  }
}

std::unique_ptr<Timer> QtMainQueue::scheduleRepeating(Seconds interval,
                                                      std::function<void()> tick) {
  auto entry = std::make_shared<TimedWork>(TimedWork{std::move(tick), true});
  // A zero interval would spin the loop; a millisecond is the finest step Qt keeps.
  const std::chrono::milliseconds period =
      std::max(toMilliseconds(interval), std::chrono::milliseconds(1));
  const int id = receiver_->start(period, entry);
  return std::make_unique<RepeatingTimer>(receiver_, id, std::move(entry));
}

}  // namespace ornav::linux_platform
