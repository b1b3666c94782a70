// Views: frames in the superview's coordinates (origin at the bottom left), subviews and an
// optional Core Animation layer.
#pragma once

#include <AppKit/NSResponder.h>
#include <AppKit/NSUserInterfaceLayout.h>

@class NSWindow, CALayer;

typedef NS_OPTIONS(NSUInteger, NSAutoresizingMaskOptions) {
  NSViewNotSizable = 0,
  NSViewWidthSizable = 2,
  NSViewHeightSizable = 16,
};

typedef NS_ENUM(NSUInteger, NSBorderType) {
  NSNoBorder = 0,
  NSBezelBorder = 2,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSView : NSResponder
- (instancetype)initWithFrame:(NSRect)frameRect NS_DESIGNATED_INITIALIZER;
- (nullable instancetype)initWithCoder:(NSCoder *)coder NS_DESIGNATED_INITIALIZER;
@property(nullable, readonly, weak) NSWindow *window;
@property(nullable, readonly, weak) NSView *superview;
- (void)addSubview:(NSView *)view;
- (void)removeFromSuperview;
@property NSRect frame;
@property NSRect bounds;
@property(getter=isHidden) BOOL hidden;
@property NSUserInterfaceLayoutDirection userInterfaceLayoutDirection;
@property NSAutoresizingMaskOptions autoresizingMask;
// Drawing: called with the part to redraw; needsDisplay asks for a call.
- (void)drawRect:(NSRect)dirtyRect;
@property BOOL needsDisplay;
// The deepest view under `point` (in the superview's coordinates), or nil.
- (nullable NSView *)hitTest:(NSPoint)point;
- (NSPoint)convertPoint:(NSPoint)point fromView:(nullable NSView *)view;
- (void)layoutSubtreeIfNeeded;
- (BOOL)acceptsFirstMouse:(nullable NSEvent *)event;
@property BOOL wantsLayer;
@property(nullable, strong) CALayer *layer;
@end

NS_ASSUME_NONNULL_END
