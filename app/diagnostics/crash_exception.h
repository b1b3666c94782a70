// Describes the C++ exception that is ending the process, for the crash report.
#pragma once

#include <exception>
#include <string>

namespace ornav::crash_exception {

struct Description {
  std::string name;    // the exception's type, demangled ("std::out_of_range")
  std::string reason;  // what() of a std::exception; empty for other types
  std::string stack;   // the call-stack symbol lines at this point, joined by LF
};

// Call from a terminate handler while `exception` is the current exception.
Description describe(const std::exception_ptr& exception);

}  // namespace ornav::crash_exception
