#include "core/production_wiring.h"

#include "core/controller_engine.h"
#include "core/key_map.h"
#include "diagnostics/crash_reporter.h"
#include "diagnostics/logger.h"
#include "ports/bundle.h"
#include "ports/platform.h"

namespace ornav {

ControllerDiagnostics productionDiagnostics() {
  ControllerDiagnostics diagnostics;
  diagnostics.log = [](const std::string& message) { Logger::write(message); };
  diagnostics.noteStage = [](const std::string& stage, const StageDetails& details) {
    CrashReporter::noteStage(stage, details);
  };
  diagnostics.noteClientApp = [](const std::optional<std::string>& bundleID) {
    CrashReporter::noteClientApp(bundleID);
  };
  return diagnostics;
}

std::shared_ptr<ControllerEnvironment> makeProductionEnvironment(
    ControllerServices& services, MenuUIInterface& menuUI,
    std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel) {
  auto env = std::make_shared<ControllerEnvironment>();
  env->mainQueue = platform().mainQueue;
  env->services = &services;
  env->menuUI = &menuUI;
  env->mapKey = [](const std::string& typed) { return KeyMap::shared().map(typed); };
  env->keyMapExtras = KeyMapExtras::from(KeyMap::shared());
  env->makeEngine = [] { return makeControllerEngine(platform().bundle, platform().folders); };
  env->makePanel = std::move(makePanel);
  env->diagnostics = productionDiagnostics();
  return env;
}

ProcessEntrySteps productionProcessEntrySteps(
    std::function<bool(const std::string&, const std::string&)> createServer,
    std::function<void()> runLoop) {
  ProcessEntrySteps steps;
  steps.bundleIdentifier = []() -> std::optional<std::string> {
    const Bundle* bundle = platform().bundle;
    return bundle ? bundle->identifier() : std::nullopt;
  };
  steps.installCrashHandlers = [] { CrashReporter::install(); };
  steps.noteStage = [](const std::string& stage, const std::map<std::string, std::string>& d) {
    CrashReporter::noteStage(stage, d);
  };
  steps.uploadPendingCrashes = [] { CrashReporter::uploadPending(); };
  steps.log = [](const std::string& message) { Logger::write(message); };
  steps.createServer = std::move(createServer);
  steps.loadKeyMap = [] { KeyMap::shared().load(); };
  steps.runLoop = std::move(runLoop);
  return steps;
}

}  // namespace ornav
