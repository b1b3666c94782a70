// The controller's collaborators in the running application: the process-wide logger, crash
// reporter and key map, the installed platform ports, and the engine made from the bundle.
#pragma once

#include <functional>
#include <memory>

#include "core/controller_environment.h"
#include "core/process_entry.h"

namespace ornav {

// Diagnostics that write through Logger and CrashReporter.
ControllerDiagnostics productionDiagnostics();

// An environment over the installed platform (main queue, bundle, folders) and the loaded key
// map. `services`, `menuUI` and `makePanel` come from the layers above the core.
std::shared_ptr<ControllerEnvironment> makeProductionEnvironment(
    ControllerServices& services, MenuUIInterface& menuUI,
    std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel);

// The start-up steps over CrashReporter, Logger, KeyMap and the installed bundle; the server and
// the run loop are the platform's.
ProcessEntrySteps productionProcessEntrySteps(
    std::function<bool(const std::string& connectionName, const std::string& bundleID)>
        createServer,
    std::function<void()> runLoop);

}  // namespace ornav
