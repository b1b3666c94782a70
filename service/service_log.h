// The service's log: one line per event on standard error, with the UTC time, for whatever
// collects the output of the process (journald, a container runtime).
#pragma once

#include <cstdint>
#include <string>

namespace ornav::service {

void logLine(const std::string& message);

// Seconds since 1970 by the wall clock.
std::int64_t wallClockSeconds();

}  // namespace ornav::service
