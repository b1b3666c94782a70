// Running applications: their process identifiers, and activating one.
#pragma once

#include <AppKit/AppKitDefines.h>
#include <sys/types.h>

typedef NS_OPTIONS(NSUInteger, NSApplicationActivationOptions) {
  NSApplicationActivateAllWindows = 1 << 0,
  NSApplicationActivateIgnoringOtherApps = 1 << 1,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSRunningApplication : NSObject
@property(readonly) pid_t processIdentifier;
// Nil when no application runs under that identifier.
+ (nullable instancetype)runningApplicationWithProcessIdentifier:(pid_t)pid;
// With no option, the calling application gives up being active and this one becomes active.
- (BOOL)activateWithOptions:(NSApplicationActivationOptions)options;
@end

NS_ASSUME_NONNULL_END
