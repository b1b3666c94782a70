#include "core/application.h"

#include <cstdlib>

#include "ports/bundle.h"
#include "ports/settings.h"
#include "services/update_service.h"

namespace ornav {
namespace {

std::filesystem::path defaultSupportDir(const Folders* folders) {
  if (folders == nullptr || folders->applicationSupport().empty()) return {};
  return folders->applicationSupport() / "Ornavel";
}

Logger::Files defaultLogFiles(const Folders* folders) {
  Logger::Files files;
  if (folders != nullptr) files.stable = Logger::stablePathIn(*folders);
  return files;
}

std::string infoString(const Bundle* bundle, const std::string& key) {
  if (bundle == nullptr) return {};
  return bundle->infoString(key).value_or("");
}

std::string bundleIdentifierOf(const Bundle* bundle) {
  const std::string identifier = infoString(bundle, "CFBundleIdentifier");
  return identifier.empty() ? std::string(kFallbackBundleID) : identifier;
}

// The host's choice first, then the environment, then the user's setting, then the build's value.
std::string serviceBaseURL(const Platform& ports, const ApplicationOptions& options) {
  if (options.serviceBaseURL) return *options.serviceBaseURL;
  if (const char* fromEnvironment = std::getenv(kServiceBaseURLEnvironmentVariable);
      fromEnvironment != nullptr && *fromEnvironment != '\0') {
    return fromEnvironment;
  }
  if (ports.settings != nullptr) {
    const std::string setting = ports.settings->getString(kServiceBaseURLSettingKey).value_or("");
    if (!setting.empty()) return setting;
  }
  return infoString(ports.bundle, kServiceBaseURLInfoKey);
}

ServiceEnvironment serviceEnvironment(const Platform& ports, const ApplicationOptions& options) {
  ServiceEnvironment env;
  env.settings = ports.settings;
  env.mainQueue = ports.mainQueue;
  env.backgroundQueue = ports.backgroundQueue;
  env.clock = ports.clock;
  env.http = ports.http;
  env.downloads = ports.downloads;
  env.processes = ports.processes;
  env.folders = ports.folders;
  env.systemInfo = ports.systemInfo;
  env.baseURL = serviceBaseURL(ports, options);
  if (ports.bundle != nullptr) env.version = ports.bundle->shortVersion().value_or("1.0");
  env.timeoutSeconds = options.serviceTimeoutSeconds;
  return env;
}

}  // namespace

Application::Application(const Platform& ports, ApplicationOptions options)
    : ports_(ports),
      options_(std::move(options)),
      supportDir_(options_.supportDir.value_or(defaultSupportDir(ports_.folders))),
      logger_(options_.logFiles.value_or(defaultLogFiles(ports_.folders)), ports_.systemLog,
              ports_.clock),
      loggerInstallation_(logger_),
      serviceClient_(serviceEnvironment(ports_, options_)),
      serviceInstallation_(serviceClient_),
      identity_{bundleIdentifierOf(ports_.bundle), UpdateService::currentVersion(),
                UpdateService::deviceID(), serviceClient_.environment().baseURL},
      crashReporter_(CrashReporter::Setup{
          .baseDir = supportDir_,
          .version = identity_.version,
          .deviceID = identity_.deviceID,
          .bundleIdentifier = infoString(ports_.bundle, "CFBundleIdentifier"),
          .reportURL = UpdateService::crashReportURL(),
          .settings = ports_.settings,
          .clock = ports_.clock,
          .systemInfo = ports_.systemInfo,
          .http = ports_.http,
          .logger = &logger_,
      }),
      engineDirectories_(options_.engineDirectories
                             ? options_.engineDirectories
                             : engineDirectoriesOf(ports_.bundle, ports_.folders)) {}

Application::~Application() = default;

void Application::loadKeyMap() {
  const Settings* settings = ports_.settings;
  const auto chosen = settings ? settings->getString(kKeyLayoutSettingsKey) : std::nullopt;
  const KeyLayout layout =
      chosen ? keyLayoutFromSetting(*chosen).value_or(KeyLayout::phonetic) : KeyLayout::phonetic;
  if (layout != KeyLayout::phonetic && keyMap_.load(ports_.bundle, ports_.systemLog, layout))
    return;
  keyMap_.load(ports_.bundle, ports_.systemLog);
}

bool Application::switchKeyLayout(KeyLayout layout) {
  if (!keyMap_.load(ports_.bundle, ports_.systemLog, layout)) return false;
  if (ports_.settings != nullptr)
    ports_.settings->setString(kKeyLayoutSettingsKey, keyLayoutSetting(layout));
  return true;
}

ProcessEntrySteps Application::processEntrySteps(
    std::function<bool(const std::string&, const std::string&)> createServer,
    std::function<void()> runLoop) {
  ProcessEntrySteps steps;
  steps.bundleIdentifier = [this]() -> std::optional<std::string> {
    return identity_.bundleIdentifier;
  };
  steps.installCrashHandlers = [this] { crashReporter_.install(); };
  steps.noteStage = [this](const std::string& stage, const CrashReporter::Details& details) {
    crashReporter_.noteStage(stage, details);
  };
  steps.uploadPendingCrashes = [this] { crashReporter_.uploadPending(); };
  steps.log = [this](const std::string& message) { logger_.log(message); };
  steps.createServer = std::move(createServer);
  steps.loadKeyMap = [this] { loadKeyMap(); };
  steps.runLoop = std::move(runLoop);
  return steps;
}

ControllerDiagnostics Application::controllerDiagnostics() {
  ControllerDiagnostics diagnostics;
  diagnostics.log = [this](const std::string& message) { logger_.log(message); };
  diagnostics.noteStage = [this](const std::string& stage, const StageDetails& details) {
    crashReporter_.noteStage(stage, details);
  };
  diagnostics.noteClientApp = [this](const std::optional<std::string>& bundleID) {
    crashReporter_.noteClientApp(bundleID);
  };
  return diagnostics;
}

std::shared_ptr<ControllerEnvironment> Application::makeControllerEnvironment(
    ControllerServices& services, MenuUIInterface& menuUI,
    std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel,
    const EngineApi& engineApi) {
  auto env = std::make_shared<ControllerEnvironment>();
  env->mainQueue = ports_.mainQueue;
  env->services = &services;
  env->menuUI = &menuUI;
  // The key map is loaded by the process entry, after this environment may have been made.
  env->keyMap = &keyMap_;
  env->switchKeyLayout = [this](KeyLayout layout) { return switchKeyLayout(layout); };
  env->diagnostics = controllerDiagnostics();
  env->makeEngine = [this, &engineApi,
                     log = env->diagnostics.log]() -> std::unique_ptr<OrnavEngine> {
    if (!engineDirectories_) return nullptr;
    return OrnavEngine::create(engineDirectories_->dictDir, engineDirectories_->userDir, engineApi,
                               log);
  };
  env->makePanel = std::move(makePanel);
  return env;
}

}  // namespace ornav
