// The process entry: what runs from the moment the system starts the input method until its run
// loop takes over. Crash handlers come first, so that nothing after them can fail unrecorded;
// every step goes on whatever the previous one achieved.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace ornav {

inline constexpr const char* kConnectionName = "com.ornav.inputmethod.Ornavel_Connection";
inline constexpr const char* kFallbackBundleID = "com.ornav.inputmethod.Ornavel";

// The outside world of the start-up sequence, one function per step.
struct ProcessEntrySteps {
  std::function<std::optional<std::string>()> bundleIdentifier;
  std::function<void()> installCrashHandlers;
  std::function<void(const std::string& stage, const std::map<std::string, std::string>& details)>
      noteStage;
  std::function<void()> uploadPendingCrashes;
  std::function<void(const std::string& message)> log;
  // Creates the input-method server under the connection name; true when it exists.
  std::function<bool(const std::string& connectionName, const std::string& bundleID)> createServer;
  std::function<void()> loadKeyMap;
  // Runs until the system ends the process (returns only if the run loop ever stops).
  std::function<void()> runLoop;
};

// Runs the start-up sequence and then the run loop; 0 if that ever returns.
int runProcessEntry(const ProcessEntrySteps& steps);

}  // namespace ornav
