// The input method's process on macOS. It assembles the ports, the application and the portable
// user interface, hands the input controllers their shared environment, and then runs the start-up
// sequence: crash handlers (with the hook for uncaught Objective-C exceptions), the server under
// the connection name, the key map, and the application's run loop for the rest of the process.
#import <Cocoa/Cocoa.h>
#import <InputMethodKit/InputMethodKit.h>

#include <csignal>
#include <exception>
#include <string>

#include "core/application.h"
#include "core/process_entry.h"

#import "platform/mac/foundation_text.h"
#import "platform/mac/imk_input_controller.h"
#include "platform/mac/input_source_watch.h"
#include "platform/mac/mac_platform.h"
#include "ui/user_interface.h"

namespace {

// Set once the crash handlers are installed; the application outlives the run loop.
ornav::CrashReporter* exceptionReporter = nullptr;
NSUncaughtExceptionHandler* previousExceptionHandler = nullptr;
// The terminate handlers behind this process's own: the Objective-C runtime's, which hands an
// Objective-C exception to the uncaught-exception handler, and the crash reporter's, which reports
// every other exception.
std::terminate_handler runtimeTerminate = nullptr;
std::terminate_handler reporterTerminate = nullptr;

// The one server of the process, held for its whole life.
IMKServer* server = nil;

// An Objective-C exception that nothing caught ends the process: its report is written first.
void onUncaughtException(NSException* exception) {
  if (exceptionReporter != nullptr) {
    std::string stack;
    for (NSString* line in exception.callStackSymbols) {
      if (!stack.empty()) stack += '\n';
      stack += ornav::mac_platform::toStdString(line);
    }
    exceptionReporter->writeReport("exception", ornav::mac_platform::toStdString(exception.name),
                                   ornav::mac_platform::toStdString(exception.reason), stack);
    // One crash, one report: the abort that follows must not leave a signal marker as well.
    std::signal(SIGABRT, SIG_DFL);
  }
  if (previousExceptionHandler != nullptr) previousExceptionHandler(exception);
}

// Objective-C exceptions are C++ exceptions too, so both reach the terminate handler. Each is
// reported once: an Objective-C one by the runtime's handler (through onUncaughtException, with
// its name, reason and call stack), any other by the crash reporter's.
void onTerminate() {
  if (std::current_exception()) {
    @try {
      throw;
    } @catch (id) {
      runtimeTerminate();
    } @catch (...) {
    }
  }
  reporterTerminate();
}

}  // namespace

int main() {
  @autoreleasepool {
    [NSApplication sharedApplication];

    ornav::mac_platform::MacPlatform platform;
    ornav::Application app(platform.ports());
    ornav::UserInterface ui(app);
    ornav::mac_platform::setControllerEnvironment(ui.controllerEnvironment());
    ornav::mac_platform::InputSourceWatch sourceWatch(app.identity().bundleIdentifier);

    ornav::ProcessEntrySteps steps = app.processEntrySteps(
        [](const std::string& connectionName, const std::string& bundleID) {
          server = [[IMKServer alloc] initWithName:ornav::mac_platform::toNSString(connectionName)
                                  bundleIdentifier:ornav::mac_platform::toNSString(bundleID)];
          return server != nil;
        },
        [] { [NSApp run]; });
    // The crash reporter installs its signal handlers and its terminate hook; Objective-C
    // exceptions have a hook of their own, in front of the reporter's.
    steps.installCrashHandlers = [&app, install = steps.installCrashHandlers] {
      runtimeTerminate = std::get_terminate();
      install();
      reporterTerminate = std::get_terminate();
      exceptionReporter = &app.crashReporter();
      previousExceptionHandler = NSGetUncaughtExceptionHandler();
      NSSetUncaughtExceptionHandler(&onUncaughtException);
      std::set_terminate(&onTerminate);
    };
    return ornav::runProcessEntry(steps);
  }
}
