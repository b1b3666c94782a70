// The main queue on the Qt event loop: work posted from any thread runs on the GUI thread, in
// posting order; delayed work and repeating timers are Qt timers of an object in the GUI thread.
//
// Invariants: every timer lives in the receiver's table from its start to its end, and only the
// GUI thread touches that table; a callback runs from a copy, so invalidating (or destroying the
// handle of) a timer inside its own tick is safe and releases the callback. Work still waiting
// when the queue is destroyed is dropped, never run.
#pragma once

#include <memory>

#include "ports/main_queue.h"

namespace ornav::linux_platform {

class QtMainQueue : public MainQueue {
 public:
  // On the GUI thread, once the QCoreApplication exists.
  QtMainQueue();
  ~QtMainQueue() override;
  QtMainQueue(const QtMainQueue&) = delete;
  QtMainQueue& operator=(const QtMainQueue&) = delete;

  void post(std::function<void()> work) override;
  void postAfter(Seconds delay, std::function<void()> work) override;
  std::unique_ptr<Timer> scheduleRepeating(Seconds interval, std::function<void()> tick) override;

  class Receiver;

 private:
  class RepeatingTimer;
  std::shared_ptr<Receiver> receiver_;
};

}  // namespace ornav::linux_platform
