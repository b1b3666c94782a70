#include "file_syncer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

namespace ornav {
namespace {

// Records the syncs; each one takes a moment, like a disk.
struct SlowDisk {
  std::mutex mutex;
  std::map<std::string, int> synced;
  std::atomic<int> total{0};
  std::thread::id caller = std::this_thread::get_id();
  bool onCallerThread = false;

  void sync(const std::string& path) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::lock_guard lock(mutex);
    ++synced[path];
    ++total;
    if (std::this_thread::get_id() == caller) onCallerThread = true;
  }
};

TEST(FileSyncer, SchedulingDoesNotWaitAndFlushWaitsForEverything) {
  SlowDisk disk;
  file_syncer syncer([&disk](const std::string& path) { disk.sync(path); });
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i)
    syncer.schedule("/d/file" + std::to_string(i));
  EXPECT_LT(disk.total.load(), 10);  // the caller did not wait for ten slow syncs
  syncer.flush();
  EXPECT_EQ(disk.total.load(), 10);
  EXPECT_FALSE(disk.onCallerThread);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

TEST(FileSyncer, APathWaitingTwiceIsSyncedOnceAndTheEndFlushes) {
  SlowDisk disk;
  {
    file_syncer syncer([&disk](const std::string& path) { disk.sync(path); });
    syncer.schedule("/d/first");  // taken at once: the others wait behind it
    for (int i = 0; i < 5; ++i)
      syncer.schedule("/d/user_freq.tsv");
  }  // the end waits for what was handed over
  EXPECT_EQ(disk.synced["/d/first"], 1);
  EXPECT_GE(disk.synced["/d/user_freq.tsv"], 1);
  EXPECT_LE(disk.synced["/d/user_freq.tsv"], 2);  // at most once waiting plus once in progress
}

TEST(FileSyncer, NothingScheduledNeedsNoThread) {
  file_syncer syncer;
  syncer.flush();                                      // returns at once
  file_syncer::sync_path("/nonexistent/folder/file");  // a path that is gone is no failure
}

}  // namespace
}  // namespace ornav
