// Background work on a few long-lived threads (the Linux stand-in for a global concurrent queue).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ports/main_queue.h"

namespace ornav::linux_platform {

class WorkerPool : public BackgroundQueue {
 public:
  explicit WorkerPool(unsigned threads = 2);
  // Runs what is still queued, then joins the threads.
  ~WorkerPool() override;
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  void post(std::function<void()> work) override;

 private:
  void serve();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> work_;
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace ornav::linux_platform
