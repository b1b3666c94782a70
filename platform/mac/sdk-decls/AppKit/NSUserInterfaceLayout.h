// Layout direction (right to left for the Arabic script) and stack orientation.
#pragma once

#include <AppKit/AppKitDefines.h>

typedef NS_ENUM(NSInteger, NSUserInterfaceLayoutDirection) {
  NSUserInterfaceLayoutDirectionLeftToRight = 0,
  NSUserInterfaceLayoutDirectionRightToLeft = 1,
};

typedef NS_ENUM(NSInteger, NSUserInterfaceLayoutOrientation) {
  NSUserInterfaceLayoutOrientationHorizontal = 0,
  NSUserInterfaceLayoutOrientationVertical = 1,
};
