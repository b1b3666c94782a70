// The set of ports one process runs with: a host (or a test) assembles it once and hands it to the
// application, whose parts reach the operating system only through it. A port that a platform does
// not provide stays null.
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

}  // namespace ornav
