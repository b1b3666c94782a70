// The application's diagnostic log. Each message is stamped with the local time and appended to
// two files: a fixed one in the shared temporary folder and one in the user's support folder
// (which the crash reporter reads back). The bare message also goes to the system log.
//
// Usable from any thread; every call opens, writes and closes the files (no handle stays open).
// The logger swallows its own failures. Not for use inside a signal handler.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/installed.h"

namespace ornav {

class Clock;
class Folders;
class SystemLog;

class Logger {
 public:
  struct Files {
    std::string temporary = "/tmp/ornav_ime.log";  // empty: not written
    std::string stable;                            // empty: not written (and no tail)
  };

  // `systemLog` and `clock` may be null (no system log; the system clock).
  Logger(Files files, SystemLog* systemLog, const Clock* clock);

  // Logs one message. Never fails towards the caller.
  void log(std::string_view message) const;

  // The last `limit` non-empty lines of the stable log, oldest first; empty when `limit` < 1 or
  // the log cannot be read as UTF-8.
  std::vector<std::string> tail(int limit) const;

  const Files& files() const { return files_; }

  // "<support folder>/Ornavel/logs/ornav_ime.log"; creates the logs folder. Empty without a
  // support folder.
  static std::string stablePathIn(const Folders& folders);

  // The process's log, installed by the application: these forward to it, and do nothing (or
  // answer empty) while none is installed.
  static void write(std::string_view message);
  static std::vector<std::string> tailLines(int limit);
  static std::string path();
  static std::string stablePath();

 private:
  Files files_;
  SystemLog* systemLog_;
  const Clock* clock_;
};

using InstalledLogger = Installed<Logger>;

}  // namespace ornav
