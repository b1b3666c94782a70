// Every port of the Linux realisation that needs no window system, in one object: the one
// assembly that the programs (the Ornavel host, ornavel-session, the crash helper) and the tests
// build. The Qt host adds its window ports to what ports() answers.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/linux/curl_http_session.h"
#include "platform/linux/directory_bundle.h"
#include "platform/linux/file_settings.h"
#include "platform/linux/posix_process_runner.h"
#include "platform/linux/run_loop.h"
#include "platform/linux/system_services.h"
#include "platform/linux/worker_pool.h"
#include "ports/platform.h"

namespace ornav::linux_platform {

struct LinuxPlatformOptions {
  // Default: FileSettings::defaultPath() (under $XDG_CONFIG_HOME).
  std::optional<std::filesystem::path> settingsFile = {};
  // The application bundle. Default: the bundle that holds the running program, if any.
  std::optional<std::filesystem::path> bundlePath = {};
  // A bundle of the host's own instead (it must outlive the platform).
  Bundle* bundle = nullptr;
  // The main queue the ports answer with and report to (the Qt host's event loop; it must
  // outlive the platform). Default: the platform's own RunLoop.
  MainQueue* mainQueue = nullptr;
};

class LinuxPlatform {
 public:
  explicit LinuxPlatform(LinuxPlatformOptions options = {});
  ~LinuxPlatform();
  LinuxPlatform(const LinuxPlatform&) = delete;
  LinuxPlatform& operator=(const LinuxPlatform&) = delete;

  // The ports, pointing into this object; the window ports stay null.
  Platform ports();

  // The platform's own run loop; with a main queue of the host's it stays idle.
  RunLoop& runLoop() { return runLoop_; }
  MainQueue& mainQueue() { return *mainQueue_; }
  FileSettings& settings() { return settings_; }
  SystemLog& systemLog() { return systemLog_; }
  Folders& folders() { return folders_; }

 private:
  StderrSystemLog systemLog_;
  UserFolders folders_;
  WallClock clock_;
  ProcessSystemInfo systemInfo_;
  RunLoop runLoop_;
  MainQueue* mainQueue_;
  FileSettings settings_;
  WorkerPool workers_;
  CurlHttpSession http_;
  CurlDownloadSession downloads_;
  PosixProcessRunner processes_;
  std::unique_ptr<DirectoryBundle> ownBundle_;
  Bundle* bundle_;
};

}  // namespace ornav::linux_platform
