// The application's diagnostic log. Each message is stamped with the local time and appended to
// two files: a fixed one in the shared temporary folder and one in the user's support folder
// (which the crash reporter reads back). The bare message also goes to the system log.
//
// Usable from any thread; every call opens, writes and closes the files (no handle stays open).
// The logger swallows its own failures. Not for use inside a signal handler.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ornav {

class Logger {
 public:
  Logger() = delete;

  // Logs one message. Never fails towards the caller.
  static void write(std::string_view message);

  // The last `limit` non-empty lines of the support-folder log, oldest first; empty when
  // `limit` < 1 or the log cannot be read as UTF-8.
  static std::vector<std::string> tailLines(int limit);

  // "/tmp/ornav_ime.log".
  static std::string path();
  // "<support folder>/Ornavel/logs/ornav_ime.log"; the first call creates the logs folder.
  // Empty while the platform has no folders port.
  static std::string stablePath();

  // Tests point the two files elsewhere; reset returns to the real paths.
  static void configureForTesting(std::string path, std::string stablePath);
  static void resetForTesting();
};

}  // namespace ornav
