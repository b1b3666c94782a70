// The operating system's log (os_log on macOS, standard error on Linux).
#pragma once

#include <string>

namespace ornav {

class SystemLog {
 public:
  virtual ~SystemLog() = default;
  // Records `message` as given (the caller adds any prefix); one entry per call, any thread.
  virtual void write(const std::string& message) = 0;
};

}  // namespace ornav
