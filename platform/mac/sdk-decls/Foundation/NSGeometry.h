// Points, sizes and rectangles (the Core Graphics structures) and edge insets.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSObjCRuntime.h>

typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;

typedef struct NSEdgeInsets {
  CGFloat top;
  CGFloat left;
  CGFloat bottom;
  CGFloat right;
} NSEdgeInsets;

NS_ASSUME_NONNULL_BEGIN

FOUNDATION_EXPORT const NSRect NSZeroRect;
FOUNDATION_EXPORT NSPoint NSMakePoint(CGFloat x, CGFloat y);
FOUNDATION_EXPORT NSSize NSMakeSize(CGFloat w, CGFloat h);
FOUNDATION_EXPORT NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h);
FOUNDATION_EXPORT NSEdgeInsets NSEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom,
                                                CGFloat right);

NS_ASSUME_NONNULL_END
