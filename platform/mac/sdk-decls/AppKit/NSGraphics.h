// Window backing, and clipping the current drawing.
#pragma once

#include <AppKit/AppKitDefines.h>

typedef NS_ENUM(NSUInteger, NSBackingStoreType) {
  NSBackingStoreBuffered = 2,
};

// Intersects the current graphics context's clip with a rectangle (for the rest of a drawRect:).
APPKIT_EXTERN void NSRectClip(NSRect rect);
