// Window backing.
#pragma once

#include <AppKit/AppKitDefines.h>

typedef NS_ENUM(NSUInteger, NSBackingStoreType) {
  NSBackingStoreBuffered = 2,
};
