// Child processes on POSIX systems: posix_spawn of the program itself (never a shell), so every
// argument reaches the child as one word exactly as given. The standard streams are pipes that are
// served together with poll(), so a child that fills one pipe while we write another cannot
// deadlock.
#pragma once

#include "ports/process_runner.h"

namespace ornav::linux_platform {

class PosixProcessRunner : public ProcessRunner {
 public:
  ProcessOutcome run(const ProcessRequest& request) override;
  bool launch(const std::string& path, const std::vector<std::string>& arguments) override;
};

}  // namespace ornav::linux_platform
