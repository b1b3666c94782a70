// The user's standard folders.
#pragma once

#include <Foundation/NSString.h>

typedef NS_ENUM(NSUInteger, NSSearchPathDirectory) {
  NSCachesDirectory = 13,
  NSApplicationSupportDirectory = 14,
};

typedef NS_OPTIONS(NSUInteger, NSSearchPathDomainMask) {
  NSUserDomainMask = 1,
};

NS_ASSUME_NONNULL_BEGIN

FOUNDATION_EXPORT NSString *NSHomeDirectory(void);
FOUNDATION_EXPORT NSString *NSTemporaryDirectory(void);

NS_ASSUME_NONNULL_END
