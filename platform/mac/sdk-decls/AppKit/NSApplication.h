// The application object: its run loop, activation and action dispatch.
#pragma once

#include <AppKit/NSResponder.h>

@class NSImage, NSApplication, NSWindow;

typedef NSInteger NSModalResponse NS_TYPED_EXTENSIBLE_ENUM;

NS_ASSUME_NONNULL_BEGIN

APPKIT_EXTERN __kindof NSApplication *_Null_unspecified NSApp;
// Posted when the application stops being the active one.
APPKIT_EXTERN NSNotificationName const NSApplicationDidResignActiveNotification;

@interface NSApplication : NSResponder
@property(class, readonly, strong) __kindof NSApplication *sharedApplication;
- (void)run;
- (void)activateIgnoringOtherApps:(BOOL)flag;
@property(readonly, getter=isActive) BOOL active;
// The application's windows, on screen or not.
@property(readonly, copy) NSArray<NSWindow *> *windows;
// Sends `action` to `target`, or along the responder chain when `target` is nil.
- (BOOL)sendAction:(SEL)action to:(nullable id)target from:(nullable id)sender;
@property(null_resettable, strong) NSImage *applicationIconImage;
@end

NS_ASSUME_NONNULL_END
