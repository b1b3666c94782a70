// Child processes started directly (no shell): a program path and its arguments, each argument
// one word exactly as given, with pipes for the standard streams.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ornav {

struct ProcessRequest {
  std::string path;  // absolute path of the program
  std::vector<std::string> arguments;
  std::optional<std::string> standardInput;  // written to the child's stdin, which is then closed
  bool captureStandardOutput = true;         // otherwise it goes to /dev/null
  bool captureStandardError = true;
};

struct ProcessResult {
  // The exit status; for a child ended by a signal, 128 + the signal number.
  int exitStatus = 0;
  std::optional<int> terminatingSignal;
  std::string standardOutput;  // raw bytes
  std::string standardError;
};

// The program could not be started (missing, not executable, out of resources).
struct ProcessLaunchError {
  std::string description;
};

using ProcessOutcome = std::variant<ProcessResult, ProcessLaunchError>;

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Starts the process and waits for it to exit. Blocks: call it off the main thread.
  virtual ProcessOutcome run(const ProcessRequest& request) = 0;
  // Starts a program that lives on its own (a settings window of the desktop) and returns at
  // once: its streams go nowhere and nobody waits for it. False when it could not be started.
  virtual bool launch(const std::string& path, const std::vector<std::string>& arguments) = 0;
};

}  // namespace ornav
