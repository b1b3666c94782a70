// Makes saved files durable without making the caller wait for the disk.
//
// A save renames a complete new version into place before it returns, so the death of the process
// can never lose or tear it; what the rename does not give is durability against a power loss.
// That part (fsync of the file and of its folder) is handed to this object's own thread, so a
// keystroke that picks a word never waits for the disk. Destruction, and flush(), wait until
// every file handed over has been synced. The thread starts with the first file and touches
// nothing but the paths it was given.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace ornav {

class file_syncer {
 public:
  // `sync` makes one path durable; the default fsyncs the file and its folder.
  explicit file_syncer(std::function<void(const std::string& path)> sync = sync_path);
  ~file_syncer();
  file_syncer(const file_syncer&) = delete;
  file_syncer& operator=(const file_syncer&) = delete;

  // `path` was just replaced; it is synced soon (once, however often it is handed over meanwhile).
  void schedule(const std::string& path);
  // Waits until everything scheduled so far has been synced.
  void flush();

  static void sync_path(const std::string& path);

 private:
  void run();

  std::function<void(const std::string&)> sync_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::set<std::string> pending_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace ornav
