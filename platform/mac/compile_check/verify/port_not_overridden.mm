// A platform class that means to implement a port but does not (a changed signature, a method
// left out) fails to compile, so the Objective-C++ layer cannot drift from the ports.
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#include "ports/system_log.h"

class MisspelledLog : public ornav::SystemLog {
 public:
  void write(const char* message) override;  // expected-error {{non-virtual member function marked 'override' hides virtual member function}}
};

class IncompleteLog : public ornav::SystemLog {};

void makeLogs();
void makeLogs() {
  IncompleteLog log;  // expected-error {{variable type 'IncompleteLog' is an abstract class}}
  (void)log;
}
