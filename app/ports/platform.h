// The set of ports one process runs with. The process entry (or a test) installs it once; the
// process-wide parts of the application (logger, crash reporter, service client) reach the
// operating system only through it. A port that a platform does not provide stays null.
#pragma once

namespace ornav {

class Alerts;
class BackgroundQueue;
class Bundle;
class Clock;
class DownloadSession;
class Folders;
class HttpSession;
class InputMenu;
class MainQueue;
class ProcessRunner;
class Screens;
class Settings;
class SystemInfo;
class SystemLog;
class TextMeasurer;
class UrlOpener;
class WindowSystem;

struct Platform {
  Settings* settings = nullptr;
  MainQueue* mainQueue = nullptr;
  BackgroundQueue* backgroundQueue = nullptr;
  Clock* clock = nullptr;
  HttpSession* http = nullptr;
  DownloadSession* downloads = nullptr;
  ProcessRunner* processes = nullptr;
  Bundle* bundle = nullptr;
  Folders* folders = nullptr;
  SystemLog* systemLog = nullptr;
  SystemInfo* systemInfo = nullptr;
  TextMeasurer* textMeasurer = nullptr;
  Screens* screens = nullptr;
  WindowSystem* windows = nullptr;
  Alerts* alerts = nullptr;
  UrlOpener* urlOpener = nullptr;
  InputMenu* inputMenu = nullptr;
};

// The installed ports (all null until installPlatform). Install before any other thread starts;
// the pointers are read without locking afterwards.
const Platform& platform();
void installPlatform(const Platform& ports);

}  // namespace ornav
