#include "diagnostics/crash_exception.h"

#include <cxxabi.h>
#include <execinfo.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace ornav::crash_exception {
namespace {

std::string demangle(const char* mangled) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> readable(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  return status == 0 && readable ? std::string(readable.get()) : std::string(mangled);
}

std::string callStack() {
  // Inside a terminate handler for an uncaught exception nothing has been unwound yet, so these
  // frames still lead back to the throw.
  void* frames[128];
  const int count = backtrace(frames, 128);
  std::unique_ptr<char*, decltype(&std::free)> symbols(backtrace_symbols(frames, count),
                                                       &std::free);
  std::string stack;
  for (int i = 0; i < count; ++i) {
    if (i > 0) stack += '\n';
    stack += symbols ? symbols.get()[i] : "?";
  }
  return stack;
}

}  // namespace

Description describe(const std::exception_ptr& exception) {
  Description description;
  const std::type_info* type = abi::__cxa_current_exception_type();
  description.name = type != nullptr ? demangle(type->name()) : "unknown exception";
  try {
    std::rethrow_exception(exception);
  } catch (const std::exception& error) {
    description.reason = error.what();
  } catch (...) {
    // Not derived from std::exception: the type is all there is.
  }
  description.stack = callStack();
  return description;
}

}  // namespace ornav::crash_exception
