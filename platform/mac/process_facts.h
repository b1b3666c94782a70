// Facts about this process and the system (NSProcessInfo), and the wall clock.
#pragma once

#include <chrono>
#include <string>

#include "ports/clock.h"
#include "ports/system_info.h"

namespace ornav::mac_platform {

class ProcessInfoSystemInfo final : public SystemInfo {
 public:
  std::string processName() const override;
  int processId() const override;
  // operatingSystemVersion as "major.minor.patch".
  std::string osVersion() const override;
  DesktopFamily desktopFamily() const override { return DesktopFamily::macOS; }
};

class SystemClock final : public Clock {
 public:
  std::chrono::system_clock::time_point now() const override {
    return std::chrono::system_clock::now();
  }
};

}  // namespace ornav::mac_platform
