// Child processes on macOS: NSTask runs the program itself (never a shell), so every argument
// reaches the child as one word exactly as given. Each captured stream is a pipe drained on a
// queue of its own while the caller's thread writes the child's input, so a child that fills one
// pipe while it waits for another cannot block the exchange.
#pragma once

#include "ports/process_runner.h"

namespace ornav::mac_platform {

class TaskProcessRunner final : public ProcessRunner {
 public:
  ProcessOutcome run(const ProcessRequest& request) override;
  bool launch(const std::string& path, const std::vector<std::string>& arguments) override;
};

}  // namespace ornav::mac_platform
