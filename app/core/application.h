// The one owner of everything process-wide: the ports, the log, the crash reporter, the service
// client, the key map and the facts that identify this installation. A host (the Linux program,
// the macOS entry, ornavel-session) builds it once, first thing, and hands it down; tests build
// their own. While it lives, the entry points that callers know as static (Logger::write,
// UpdateService's operations) forward to its parts.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/controller_engine.h"
#include "core/controller_environment.h"
#include "core/key_map.h"
#include "core/process_entry.h"
#include "diagnostics/crash_reporter.h"
#include "diagnostics/logger.h"
#include "ports/platform.h"
#include "services/service_client.h"

namespace ornav {

// Facts about this installation, read once at start.
struct ApplicationIdentity {
  std::string bundleIdentifier;  // kFallbackBundleID when the bundle has none
  std::string version;           // "CFBundleShortVersionString", "1.0" when absent
  std::string deviceID;          // "Ornavel.deviceID", created on the first start
  std::string serviceBaseURL;    // empty: the web service is not configured
};

// What a host may choose instead of the defaults.
struct ApplicationOptions {
  // Default: "/tmp/ornav_ime.log" and "<support>/Ornavel/logs/ornav_ime.log".
  std::optional<Logger::Files> logFiles;
  // Default: "<support>/Ornavel", where crash notes (and the user's dictionary) live.
  std::optional<std::filesystem::path> supportDir;
  // Default: the bundle's "<resources>/dict" and the support folder.
  std::optional<EngineDirectories> engineDirectories;
  // Default: the address chosen at run time (ORNAV_SERVICE_BASE_URL in the environment, else the
  // setting "Ornavel.serviceBaseURL"), else the bundle's "OrnavelServiceBaseURL" value.
  std::optional<std::string> serviceBaseURL;
  // Default: each operation's own time-out.
  std::optional<double> serviceTimeoutSeconds;
};

// The key in Info.plist that names the web service's base address.
inline constexpr const char* kServiceBaseURLInfoKey = "OrnavelServiceBaseURL";
// Where an address chosen at run time comes from; either one, when not empty, replaces the
// bundle's, so one build can be pointed at a test or staging service.
inline constexpr const char* kServiceBaseURLEnvironmentVariable = "ORNAV_SERVICE_BASE_URL";
inline constexpr const char* kServiceBaseURLSettingKey = "Ornavel.serviceBaseURL";

class Application {
 public:
  explicit Application(const Platform& ports, ApplicationOptions options = {});
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  const Platform& ports() const { return ports_; }
  const ApplicationIdentity& identity() const { return identity_; }
  Logger& logger() { return logger_; }
  CrashReporter& crashReporter() { return crashReporter_; }
  ServiceClient& serviceClient() { return serviceClient_; }
  KeyMap& keyMap() { return keyMap_; }
  const std::optional<EngineDirectories>& engineDirectories() const { return engineDirectories_; }

  // Reads the key map of the layout chosen in the settings (kKeyLayoutSettingsKey; the phonetic
  // one when none is chosen or the chosen one cannot be loaded). The process entry's step does
  // this.
  void loadKeyMap();
  // Loads `layout`'s key map for every controller and remembers the choice in the settings;
  // false, with the map in use kept and nothing remembered, when it cannot be loaded.
  bool switchKeyLayout(KeyLayout layout);

  // The start-up steps over these parts; the server and the run loop are the host's.
  ProcessEntrySteps processEntrySteps(
      std::function<bool(const std::string& connectionName, const std::string& bundleID)>
          createServer,
      std::function<void()> runLoop);

  // The log and the crash notes of the input controllers.
  ControllerDiagnostics controllerDiagnostics();

  // The environment that every input controller of this process shares. `services`, `menuUI`
  // and `makePanel` come from the layers above the core and must outlive it.
  std::shared_ptr<ControllerEnvironment> makeControllerEnvironment(
      ControllerServices& services, MenuUIInterface& menuUI,
      std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel,
      const EngineApi& engineApi = realEngineApi());

 private:
  Platform ports_;
  ApplicationOptions options_;
  std::filesystem::path supportDir_;
  Logger logger_;
  InstalledLogger loggerInstallation_;
  ServiceClient serviceClient_;
  InstalledServiceClient serviceInstallation_;
  ApplicationIdentity identity_;
  CrashReporter crashReporter_;
  KeyMap keyMap_;
  std::optional<EngineDirectories> engineDirectories_;
};

}  // namespace ornav
