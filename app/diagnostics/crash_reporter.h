// Records how the application ends when it crashes, and sends what it recorded at the next start.
//
// While the application works, noteStage keeps crash_context.json up to date with the last step
// it reached. An uncaught C++ exception leaves a JSON report in the "crashes" folder; a fatal
// signal leaves the one-line marker fatal_signal.txt there. uploadPending sends each to the
// service and deletes it only when the service answers "ok": true; everything else stays for the
// next start. Every failure is swallowed.
#pragma once

#include <map>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace ornav {

class CrashReporter {
 public:
  CrashReporter() = delete;

  using Details = std::map<std::string, std::string>;

  // Notes the "install-crash-handlers" stage, prepares the signal marker path, and installs the
  // uncaught-exception hook and the fatal-signal handlers. Call once, first thing at start.
  static void install();

  // Replaces crash_context.json with the stage, its details, the last client, the time and pid.
  static void noteStage(const std::string& stage, const Details& details = {});

  // Remembers the client that activated the input method; an absent or empty id changes nothing.
  static void noteClientApp(const std::optional<std::string>& bundleIdentifier);
  // The remembered client's bundle identifier, or empty.
  static std::string lastClientApp();

  // Sends every stored report and the signal marker; returns at once.
  static void uploadPending();

  // "<support folder>/Ornavel", its "crashes" folder, the context file and the signal marker.
  // Empty while the platform has no folders port.
  static std::string baseDir();
  static std::string dir();
  static std::string contextPath();
  static std::string signalMarkerPath();
  static std::string reportURL();

  // Writes the report of an uncaught exception to dir()/<milliseconds since 1970>.json.
  static void writeReport(const std::string& type, const std::string& name,
                          const std::string& reason, const std::string& stack);
  // The report built from a marker file; absent when its content is not a signal number.
  static std::optional<nlohmann::json> signalMarkerReport(const std::string& path);

  // Tests: put the files under another folder (empty restores the support folder), and wait
  // for uploads that are still on the wire.
  static void configureForTesting(const std::string& baseDir);
  static int uploadsInFlight();
};

}  // namespace ornav
