#import "platform/mac/appkit_activation.h"

#import <AppKit/AppKit.h>

#include <optional>

#include "platform/mac/ui_rules.h"

namespace ornav::mac_platform {

namespace {

// The process's one record, which forgets the application to return to as soon as the input
// method stops being the active application.
ActivationHandBack& handBack() {
  static ActivationHandBack record;
  static const id<NSObject> resignation = [NSNotificationCenter.defaultCenter
      addObserverForName:NSApplicationDidResignActiveNotification
                  object:nil
                   queue:nil
              usingBlock:^(NSNotification*) {
                record.resigned();
              }];
  (void)resignation;
  return record;
}

// An alert or dialog is on screen: a visible window that can take the keyboard, which the
// candidate panel never does.
bool dialogOnScreen() {
  for (NSWindow* window in NSApp.windows) {
    if (window.visible && window.canBecomeKeyWindow) return true;
  }
  return false;
}

}  // namespace

void activateInputMethod() {
  NSRunningApplication* frontmost = NSWorkspace.sharedWorkspace.frontmostApplication;
  handBack().activating(
      frontmost != nil ? std::optional<int>(frontmost.processIdentifier) : std::nullopt,
      NSProcessInfo.processInfo.processIdentifier);
  [NSApp activateIgnoringOtherApps:YES];
}

void handBackActivationSoon() {
  dispatch_async(dispatch_get_main_queue(), ^{
    const std::optional<int> previous = handBack().closed(dialogOnScreen());
    if (!previous) return;
    // Asked by the active application, activation passes to the other one.
    [[NSRunningApplication runningApplicationWithProcessIdentifier:*previous]
        activateWithOptions:0];
  });
}

}  // namespace ornav::mac_platform
