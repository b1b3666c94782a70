// Every fake port in one object. A test that drives a whole subsystem makes one of these, hands
// ports() to what it builds (an Application, say) and reads the records afterwards.
#pragma once

#include "ports/platform.h"
#include "testing/fake_clock.h"
#include "testing/fake_http.h"
#include "testing/fake_process_runner.h"
#include "testing/fake_system.h"
#include "testing/fake_ui.h"
#include "testing/manual_main_queue.h"
#include "testing/memory_settings.h"

namespace ornav::testing {

class FakePlatform {
 public:
  FakePlatform() = default;
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeClock clock;
  ManualMainQueue mainQueue{&clock};
  ManualBackgroundQueue backgroundQueue;
  MemorySettings settings;
  FakeHttpSession http{mainQueue};
  FakeDownloadSession downloads;
  FakeProcessRunner processes;
  FakeBundle bundle;
  FakeFolders folders;
  RecordingSystemLog systemLog;
  FakeSystemInfo systemInfo;
  FakeTextMeasurer textMeasurer;
  FakeScreens screens;
  RecordingWindowSystem windows;
  ScriptedAlerts alerts;
  RecordingUrlOpener urlOpener;
  RecordingInputMenu inputMenu;

  // The Platform that points at the fakes above.
  Platform ports();
};

}  // namespace ornav::testing
