// Reads one byte of every page of some mapped files, right after a dictionary is opened. Opening
// reads almost nothing of the files, so without this the first keystrokes would each fault in the
// pages they touch (from disk, on a first start). The first bytes, up to a budget, are read before
// the constructor returns, so a small dictionary is whole in memory when its first engine exists;
// the rest of a large one is read on a thread of its own that nothing waits for. Destruction
// stops that thread within a few pages.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "file_bytes.h"

namespace ornav {

class PageWarmer {
 public:
  // Called after each page is read, on the thread that read it: lets tests see how far the
  // reading went.
  using PageHook = std::function<void()>;
  // The background reading looks whether it should stop once per this many pages.
  static constexpr std::size_t kPagesBetweenStopChecks = 64;

  // Reads `files` in order; the first `synchronous_bytes` of them before returning.
  PageWarmer(std::vector<std::shared_ptr<const FileBytes>> files, std::size_t synchronous_bytes,
             PageHook after_page = {});
  // Stops the background reading and waits for its thread.
  ~PageWarmer();
  PageWarmer(const PageWarmer&) = delete;
  PageWarmer& operator=(const PageWarmer&) = delete;

  // Asks the background reading to stop; it does within kPagesBetweenStopChecks pages.
  void stop();

  // Blocks until every page has been read (or the warmer was stopped). For benchmarks that
  // measure keystrokes apart from the first reading of the files.
  void wait() const;

 private:
  // Reads the pages from byte `skip` of the files taken as one sequence, up to `limit` bytes;
  // where it stopped.
  std::size_t read(std::size_t skip, std::size_t limit);
  void finish();

  std::vector<std::shared_ptr<const FileBytes>> files_;
  std::size_t page_;
  PageHook after_page_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable finished_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace ornav
