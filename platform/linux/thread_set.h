// Threads that run one job each and are joined by their owner: finished ones when the next job
// starts, all of them when the owner is destroyed.
#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace ornav::linux_platform {

class ThreadSet {
 public:
  ThreadSet() = default;
  ~ThreadSet() { joinAll(); }
  ThreadSet(const ThreadSet&) = delete;
  ThreadSet& operator=(const ThreadSet&) = delete;

  void spawn(std::function<void()> job) {
    std::lock_guard lock(mutex_);
    reapFinished();
    auto done = std::make_shared<std::atomic<bool>>(false);
    threads_.push_back({std::thread([job = std::move(job), done] {
                          job();
                          *done = true;
                        }),
                        done});
  }

  void joinAll() {
    std::list<Entry> all;
    {
      std::lock_guard lock(mutex_);
      all.swap(threads_);
    }
    for (auto& entry : all)
      entry.thread.join();
  }

 private:
  struct Entry {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  void reapFinished() {
    for (auto it = threads_.begin(); it != threads_.end();) {
      if (*it->done) {
        it->thread.join();
        it = threads_.erase(it);
      } else {
        ++it;
      }
    }
  }

  std::mutex mutex_;
  std::list<Entry> threads_;
};

}  // namespace ornav::linux_platform
