// Reads one byte of every page of some mapped files on a thread of its own, right after a
// dictionary is opened. Opening reads almost nothing of the files, so without this the first
// keystrokes would each fault in the pages they touch (from disk, on a first start); with it they
// find the pages in memory. Nothing waits for it: destruction stops it within a few pages.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "file_bytes.h"

namespace ornav {

class PageWarmer {
 public:
  explicit PageWarmer(std::vector<std::shared_ptr<const FileBytes>> files);
  ~PageWarmer();
  PageWarmer(const PageWarmer&) = delete;
  PageWarmer& operator=(const PageWarmer&) = delete;

  // Blocks until every page has been read (or the warmer was stopped). For benchmarks that
  // measure keystrokes apart from the first reading of the files.
  void wait() const;

 private:
  void run();

  std::vector<std::shared_ptr<const FileBytes>> files_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable finished_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace ornav
