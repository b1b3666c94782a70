#include "testing/fake_platform.h"

namespace ornav::testing {

Platform FakePlatform::ports() {
  Platform p;
  p.settings = &settings;
  p.mainQueue = &mainQueue;
  p.backgroundQueue = &backgroundQueue;
  p.clock = &clock;
  p.http = &http;
  p.downloads = &downloads;
  p.processes = &processes;
  p.bundle = &bundle;
  p.folders = &folders;
  p.systemLog = &systemLog;
  p.systemInfo = &systemInfo;
  p.textMeasurer = &textMeasurer;
  p.screens = &screens;
  p.windows = &windows;
  p.alerts = &alerts;
  p.urlOpener = &urlOpener;
  p.inputMenu = &inputMenu;
  return p;
}

}  // namespace ornav::testing
