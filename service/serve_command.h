// ornavel-service serve: answers the application until SIGINT or SIGTERM, and builds a new
// dictionary version on a schedule (never while answering a request).
#pragma once

#include "command_line.h"

namespace ornav::service {

// Exit status: 0 after a signal ended it, 1 when it could not start, 2 for a bad command line.
int runServe(CommandLine& arguments);

}  // namespace ornav::service
