// Facts about the running process and system, for crash reports and feedback.
#pragma once

#include <string>

namespace ornav {

// The kind of desktop the input method serves: its guides name that system's settings, shortcuts
// and input framework.
enum class DesktopFamily { macOS, linuxDesktop };

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual std::string processName() const = 0;
  virtual int processId() const = 0;
  // The operating system's version as "major.minor.patch" in decimal.
  virtual std::string osVersion() const = 0;
  virtual DesktopFamily desktopFamily() const = 0;
};

}  // namespace ornav
