// Windows. Levels order windows across applications: normal 0, floating 3, pop-up menus 101.
#pragma once

#include <AppKit/NSGraphics.h>
#include <AppKit/NSResponder.h>
#include <CoreGraphics/CoreGraphics.h>

@class NSView, NSColor, NSScreen;

typedef NSInteger NSWindowLevel NS_TYPED_EXTENSIBLE_ENUM;
static const NSWindowLevel NSNormalWindowLevel = kCGNormalWindowLevel;
static const NSWindowLevel NSFloatingWindowLevel = kCGFloatingWindowLevel;
static const NSWindowLevel NSPopUpMenuWindowLevel = kCGPopUpMenuWindowLevel;

typedef NS_OPTIONS(NSUInteger, NSWindowStyleMask) {
  NSWindowStyleMaskBorderless = 0,
  NSWindowStyleMaskTitled = 1 << 0,
  NSWindowStyleMaskClosable = 1 << 1,
  NSWindowStyleMaskMiniaturizable = 1 << 2,
  NSWindowStyleMaskResizable = 1 << 3,
  NSWindowStyleMaskNonactivatingPanel = 1 << 7,
};

// Where a window may appear: on every Space, and beside a full-screen window.
typedef NS_OPTIONS(NSUInteger, NSWindowCollectionBehavior) {
  NSWindowCollectionBehaviorDefault = 0,
  NSWindowCollectionBehaviorCanJoinAllSpaces = 1 << 0,
  NSWindowCollectionBehaviorStationary = 1 << 4,
  NSWindowCollectionBehaviorIgnoresCycle = 1 << 6,
  NSWindowCollectionBehaviorFullScreenAuxiliary = 1 << 8,
};

NS_ASSUME_NONNULL_BEGIN

// Posted, with the window as the object, when a window is about to close (also from its title
// bar's close button).
APPKIT_EXTERN NSNotificationName const NSWindowWillCloseNotification;

@interface NSWindow : NSResponder
- (instancetype)initWithContentRect:(NSRect)contentRect
                          styleMask:(NSWindowStyleMask)style
                            backing:(NSBackingStoreType)backingStoreType
                              defer:(BOOL)flag NS_DESIGNATED_INITIALIZER;
@property(copy) NSString *title;
@property(nullable, strong) __kindof NSView *contentView;
@property(readonly) NSRect frame;
- (void)setFrameOrigin:(NSPoint)point;
- (void)setFrame:(NSRect)frameRect display:(BOOL)flag;
- (void)invalidateShadow;
- (void)setContentSize:(NSSize)size;
- (void)center;
- (void)makeKeyAndOrderFront:(nullable id)sender;
- (void)orderFront:(nullable id)sender;
- (void)orderFrontRegardless;
- (void)orderOut:(nullable id)sender;
- (void)close;
@property(getter=isReleasedWhenClosed) BOOL releasedWhenClosed;
@property NSWindowLevel level;
@property(getter=isOpaque) BOOL opaque;
@property(null_resettable, copy) NSColor *backgroundColor;
@property BOOL hasShadow;
@property BOOL hidesOnDeactivate;
@property NSWindowCollectionBehavior collectionBehavior;
@property(readonly, getter=isVisible) BOOL visible;
@property(readonly) BOOL canBecomeKeyWindow;
@property(readonly) BOOL canBecomeMainWindow;
@property(nullable, readonly, weak) NSResponder *firstResponder;
// The view that becomes the first responder when the window is first shown.
@property(nullable, weak) NSView *initialFirstResponder;
- (BOOL)makeFirstResponder:(nullable NSResponder *)responder;
@property(nullable, readonly, strong) NSScreen *screen;
@end

@interface NSWindow (NSConstraintBasedLayoutCoreMethods)
- (void)layoutIfNeeded;
@end

NS_ASSUME_NONNULL_END
