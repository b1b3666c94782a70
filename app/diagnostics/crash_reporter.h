// Records how the application ends when it crashes, and sends what it recorded at the next start.
//
// While the application works, noteStage keeps crash_context.json up to date with the last step
// it reached. An uncaught C++ exception leaves a JSON report in the "crashes" folder; a fatal
// signal leaves the one-line marker fatal_signal.txt there. uploadPending sends each to the
// service and deletes it only when the service answers "ok": true; everything else stays for the
// next start. Every failure is swallowed.
//
// One per process, made by the application from its ports and from facts about the installation
// handed over as values (the reporter knows nothing of the service client).
#pragma once

#include <atomic>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "diagnostics/context_file.h"

namespace ornav {

class Clock;
class HttpSession;
class Logger;
class Settings;
class SystemInfo;

class CrashReporter {
 public:
  using Details = std::map<std::string, std::string>;

  struct Setup {
    // "<support folder>/Ornavel"; empty: nothing is recorded or sent.
    std::filesystem::path baseDir = {};
    // Facts every report carries.
    std::string version = {};
    std::string deviceID = {};
    std::string bundleIdentifier = {};
    // Where reports go; an unusable address sends nothing.
    std::string reportURL = {};
    // Ports; each may be null (then the matching fact is empty, or nothing is sent).
    Settings* settings = nullptr;
    const Clock* clock = nullptr;
    const SystemInfo* systemInfo = nullptr;
    HttpSession* http = nullptr;
    // Its last lines go into exception reports.
    const Logger* logger = nullptr;
  };

  explicit CrashReporter(Setup setup);
  ~CrashReporter();
  CrashReporter(const CrashReporter&) = delete;
  CrashReporter& operator=(const CrashReporter&) = delete;

  // Notes the "install-crash-handlers" stage, prepares the signal marker path, and installs the
  // uncaught-exception hook and the fatal-signal handlers for this reporter. Call once, first
  // thing at start.
  void install();

  // Replaces crash_context.json with the stage, its details, the last client, the time and pid.
  void noteStage(const std::string& stage, const Details& details = {});

  // Remembers the client that activated the input method; an absent or empty id changes nothing.
  void noteClientApp(const std::optional<std::string>& bundleIdentifier);
  // The remembered client's bundle identifier, or empty.
  std::string lastClientApp() const;

  // Sends every stored report and the signal marker; returns at once.
  void uploadPending();

  // Its folder, the "crashes" folder, the context file and the signal marker; empty without a
  // folder.
  std::string baseDir() const;
  std::string dir() const;
  std::string contextPath() const;
  std::string signalMarkerPath() const;
  const std::string& reportURL() const { return setup_.reportURL; }

  // Writes the report of an uncaught exception to dir()/<milliseconds since 1970>.json.
  void writeReport(const std::string& type, const std::string& name, const std::string& reason,
                   const std::string& stack);
  // The report built from a marker file; absent when its content is not a signal number.
  std::optional<nlohmann::json> signalMarkerReport(const std::string& path) const;

  // Uploads still on the wire.
  int uploadsInFlight() const { return *inFlight_; }

 private:
  std::chrono::system_clock::time_point now() const;
  void uploadReportData(const std::string& body, const std::filesystem::path& file);

  Setup setup_;
  ContextFile context_;
  // The process's id, asked once: every context note carries it, several per keystroke.
  int processId_ = 0;
  // Shared with the completions of uploads, which may outlive nothing else of the reporter.
  std::shared_ptr<std::atomic<int>> inFlight_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace ornav
