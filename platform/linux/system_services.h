// The small system ports on Linux: the user's folders, the system log, process facts and the
// wall clock.
#pragma once

#include "ports/bundle.h"
#include "ports/clock.h"
#include "ports/system_info.h"
#include "ports/system_log.h"

namespace ornav::linux_platform {

// Linux: home = $HOME; Application Support = $XDG_DATA_HOME (default ~/.local/share);
// Caches = $XDG_CACHE_HOME (default ~/.cache); temporary = $TMPDIR (default /tmp).
// XDG values that are not absolute paths are ignored, as the XDG rules require.
class UserFolders : public Folders {
 public:
  std::filesystem::path home() const override;
  std::filesystem::path applicationSupport() const override;
  std::filesystem::path caches() const override;
  std::filesystem::path temporary() const override;
};

// Writes each message as one line on standard error, with one write call so that lines from
// different threads never interleave.
class StderrSystemLog : public SystemLog {
 public:
  void write(const std::string& message) override;
};

class ProcessSystemInfo : public SystemInfo {
 public:
  std::string processName() const override;
  int processId() const override;
  std::string osVersion() const override;
  DesktopFamily desktopFamily() const override { return DesktopFamily::linuxDesktop; }
};

class WallClock : public Clock {
 public:
  std::chrono::system_clock::time_point now() const override {
    return std::chrono::system_clock::now();
  }
};

// "6.1.0-13-amd64" -> "6.1.0"; missing parts read as 0 ("5.10" -> "5.10.0").
std::string versionTriple(const std::string& release);

}  // namespace ornav::linux_platform
