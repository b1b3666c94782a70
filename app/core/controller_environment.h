// Everything an input controller uses besides its client: shared by all controllers of the
// process and set up once by the process entry (or by a test, or by the headless session).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/candidate_panel_interface.h"
#include "core/controller_services.h"
#include "core/key_map.h"
#include "core/menu_ui_interface.h"
#include "core/ornav_engine_binding.h"
#include "ports/main_queue.h"

namespace ornav {

class OrnavInputController;

using StageDetails = std::map<std::string, std::string>;

// State shared by every controller of the process.
struct ControllerProcessState {
  // The first key event of the process has been seen (the cloud fetch is started at most once).
  bool didBootstrap = false;
  // The one repeating upload timer; made by the first activation and kept for the process's life.
  std::unique_ptr<Timer> uploadTimer;
  // The most recently activated controller; weak, so a released controller is simply skipped.
  std::weak_ptr<OrnavInputController> uploadTimerOwner;
};

// The log and the crash reporter's notes. The process entry binds them to Logger and
// CrashReporter; tests record them.
struct ControllerDiagnostics {
  std::function<void(const std::string& message)> log;
  std::function<void(const std::string& stage, const StageDetails& details)> noteStage;
  std::function<void(const std::optional<std::string>& bundleID)> noteClientApp;
};

struct ControllerEnvironment {
  MainQueue* mainQueue = nullptr;
  ControllerServices* services = nullptr;
  MenuUIInterface* menuUI = nullptr;
  // The process's key map; it may be loaded after the environment was made. Null: no keys.
  const KeyMap* keyMap = nullptr;
  // Loads the key map of `layout` into `keyMap`, so every controller types with it from its next
  // key, and remembers the choice; false when it cannot be loaded (the map in use stays). Null:
  // the process has one layout only.
  std::function<bool(KeyLayout layout)> switchKeyLayout;
  // A new engine for a new controller; null when none can be created.
  std::function<std::unique_ptr<OrnavEngine>()> makeEngine;
  // The controller's panel, made on first use.
  std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel;
  ControllerDiagnostics diagnostics;
  ControllerProcessState process;
};

// Period of the upload timer, and the least time between two regular uploads.
inline constexpr double kUserDictUploadInterval = 1800.0;

}  // namespace ornav
