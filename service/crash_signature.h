// What makes two crash reports the same crash: the same kind (signal or exception), the same
// signal or exception name, and for exceptions the same top of the stack once addresses and
// offsets (which differ from build to build and run to run) are taken out.
#pragma once

#include <string>

#include "request_reading.h"

namespace ornav::service {

std::string crashSignature(const CrashReport& report);

}  // namespace ornav::service
