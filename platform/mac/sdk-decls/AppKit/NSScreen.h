// Displays, in the global screen space whose origin is the bottom left of the main display;
// the visible frame leaves out the menu bar and the Dock.
#pragma once

#include <AppKit/AppKitDefines.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSScreen : NSObject
@property(class, readonly, copy) NSArray<NSScreen *> *screens;
@property(class, readonly, nullable, strong) NSScreen *mainScreen;
@property(readonly) NSRect frame;
@property(readonly) NSRect visibleFrame;
@end

NS_ASSUME_NONNULL_END
