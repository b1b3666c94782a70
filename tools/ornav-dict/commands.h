// The command line of ornav-dict: subcommands, their output and exit status.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::dict {

// Exit status that scripts can rely on.
enum ExitCode : int {
  exitOk = 0,
  exitBadInput = 1,  // malformed count file, map, key map or dictionary directory
  exitUsage = 2,     // wrong arguments
  exitIoError = 3,   // a file could not be read or written
  exitNotFound = 4,  // lookup: at least one key is absent
};

// Runs one command line (without the program name). Results go to `out`; problems, progress
// and summaries to `err`.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Reports a usage error on `err` and gives exitUsage.
int usageError(std::ostream& err, std::string_view message);

}  // namespace ornav::dict
