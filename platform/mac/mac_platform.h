// Every port of the macOS realisation in one object, assembled once by the process's main().
#pragma once

#include "platform/mac/appkit_alerts.h"
#include "platform/mac/appkit_screens.h"
#include "platform/mac/appkit_text_measurer.h"
#include "platform/mac/dialog_windows.h"
#include "platform/mac/dispatch_queues.h"
#include "platform/mac/input_menu.h"
#include "platform/mac/main_bundle.h"
#include "platform/mac/os_system_log.h"
#include "platform/mac/process_facts.h"
#include "platform/mac/task_process_runner.h"
#include "platform/mac/url_session_downloads.h"
#include "platform/mac/url_session_http.h"
#include "platform/mac/user_defaults_settings.h"
#include "platform/mac/workspace_url_opener.h"
#include "ports/platform.h"

namespace ornav::mac_platform {

class MacPlatform {
 public:
  // The system log's subsystem is the application's bundle identifier.
  MacPlatform();
  MacPlatform(const MacPlatform&) = delete;
  MacPlatform& operator=(const MacPlatform&) = delete;

  // The ports, pointing into this object.
  Platform ports();

 private:
  MainBundle bundle_;
  FileManagerFolders folders_;
  OsSystemLog systemLog_;
  ProcessInfoSystemInfo systemInfo_;
  SystemClock clock_;
  UserDefaultsSettings settings_;
  DispatchMainQueue mainQueue_;
  DispatchBackgroundQueue backgroundQueue_;
  UrlSessionHttp http_;
  UrlSessionDownloads downloads_;
  TaskProcessRunner processes_;
  AppKitTextMeasurer textMeasurer_;
  AppKitScreens screens_;
  AppKitWindowSystem windows_;
  AppKitAlerts alerts_;
  WorkspaceUrlOpener urlOpener_;
  AppKitInputMenu inputMenu_;
};

}  // namespace ornav::mac_platform
