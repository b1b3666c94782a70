// ornavel-service admin --database URL COMMAND ...: what an operator does besides serving. A
// command that refuses its input stores nothing and exits with a non-zero status.
#pragma once

#include <iosfwd>

#include "command_line.h"

namespace ornav::service {

// Exit status: 0 done, 1 refused or failed, 2 a command line that cannot be used.
int runAdmin(CommandLine& arguments, std::ostream& out, std::ostream& err);

}  // namespace ornav::service
