#include "platform/linux/worker_pool.h"

#include <algorithm>

namespace ornav::linux_platform {

WorkerPool::WorkerPool(unsigned threads) {
  for (unsigned i = 0; i < std::max(threads, 1u); ++i)
    threads_.emplace_back([this] { serve(); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  wake_.notify_all();
  for (auto& thread : threads_)
    thread.join();
}

void WorkerPool::post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    work_.push_back(std::move(work));
  }
  wake_.notify_one();
}

void WorkerPool::serve() {
  for (;;) {
    std::function<void()> work;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return closing_ || !work_.empty(); });
      if (work_.empty()) return;  // closing and nothing left
      work = std::move(work_.front());
      work_.pop_front();
    }
    work();
  }
}

}  // namespace ornav::linux_platform
