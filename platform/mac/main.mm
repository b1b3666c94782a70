// The input method's process on macOS. It assembles the ports, the application and the portable
// user interface, hands the input controllers their shared environment, and then runs the start-up
// sequence: crash handlers (with the hook for uncaught Objective-C exceptions), the server under
// the connection name, the key map, and the application's run loop for the rest of the process.
#import <Cocoa/Cocoa.h>
#import <InputMethodKit/InputMethodKit.h>

#include <csignal>
#include <string>

#include "core/application.h"
#include "core/process_entry.h"
#include "core/update_service_bridge.h"
#import "platform/mac/foundation_text.h"
#import "platform/mac/imk_input_controller.h"
#include "platform/mac/mac_platform.h"
#include "platform/mac/portable_ui.h"

namespace {

// Set once the crash handlers are installed; the application outlives the run loop.
ornav::CrashReporter* exceptionReporter = nullptr;
NSUncaughtExceptionHandler* previousExceptionHandler = nullptr;

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

}  // namespace

int main() {
  @autoreleasepool {
    [NSApplication sharedApplication];

    ornav::mac_platform::MacPlatform platform;
    ornav::Application app(platform.ports());
    ornav::mac_platform::PortableUi ui = ornav::mac_platform::makePortableUi(app);
    ornav::UpdateServiceBridge services;
    ornav::mac_platform::setControllerEnvironment(
        app.makeControllerEnvironment(services, *ui.menuUI, ui.makePanel));

    ornav::ProcessEntrySteps steps = app.processEntrySteps(
        [](const std::string& connectionName, const std::string& bundleID) {
          server = [[IMKServer alloc] initWithName:ornav::mac_platform::toNSString(connectionName)
                                  bundleIdentifier:ornav::mac_platform::toNSString(bundleID)];
          return server != nil;
        },
        [] { [NSApp run]; });
    // The crash reporter installs its signal handlers and the C++ terminate hook; Objective-C
    // exceptions have a hook of their own.
    steps.installCrashHandlers = [&app, install = steps.installCrashHandlers] {
      install();
      exceptionReporter = &app.crashReporter();
      previousExceptionHandler = NSGetUncaughtExceptionHandler();
      NSSetUncaughtExceptionHandler(&onUncaughtException);
    };
    return ornav::runProcessEntry(steps);
  }
}
