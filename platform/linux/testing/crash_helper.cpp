// A program that starts the way the application does (the Linux platform and the application
// built from the environment, crash handlers installed, a client and a stage noted, a log line
// written) and then dies the way its
// first argument says. The crash reporter's tests run it as a child process with HOME and the XDG
// folders pointed at a temporary folder, then look at what it left behind.
#include <sys/mman.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "core/application.h"
#include "platform/linux/linux_platform.h"

namespace {

// Recurses until the stack runs out; the volatile buffer keeps the frames from being folded, and
// the volatile limit keeps the compiler from seeing that it never ends.
volatile int recursionLimit = 1 << 30;
int exhaustStack(int depth) {
  volatile char frame[4096];
  frame[depth % sizeof frame] = static_cast<char>(depth);
  if (depth >= recursionLimit) return frame[0];
  return exhaustStack(depth + 1) + frame[0];
}

[[noreturn]] void die(const std::string& how) {
  if (how == "segv") {
    // A real fault on a page without access (a null store would be caught by the sanitizers
    // before it faults).
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
  } else if (how == "abort") {
    std::abort();
  } else if (how == "fpe") {
    std::raise(SIGFPE);
  } else if (how == "ill") {
    std::raise(SIGILL);
  } else if (how == "stack-overflow") {
    std::printf("%d\n", exhaustStack(0));
  } else if (how == "throw") {
    throw std::runtime_error("候选词索引越界 (index 7 of 5)");
  } else if (how == "throw-int") {
    throw 42;
  } else if (how == "terminate") {
    std::terminate();  // no exception in flight: ends by SIGABRT
  }
  std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: crash_helper segv|abort|fpe|ill|stack-overflow|throw|throw-int|"
                 "terminate|exit\n");
    return 2;
  }
  using namespace ornav;
  static linux_platform::LinuxPlatform platform;
  // Only the support-folder log matters here; keep the shared temporary log out of it.
  ApplicationOptions options;
  options.logFiles = Logger::Files{"", Logger::stablePathIn(platform.folders())};
  static Application app(platform.ports(), options);
  CrashReporter& crashes = app.crashReporter();

  crashes.install();
  crashes.noteStage("process-launch");
  crashes.noteClientApp(std::string("com.example.TextEdit"));
  Logger::write("崩溃测试：即将结束");
  crashes.noteStage("select-candidate", {{"host", "com.example.TextEdit"}, {"index", "7"}});
  die(argv[1]);
}
