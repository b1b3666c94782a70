// Ranges of UTF-16 code units in strings and attributed strings.
#pragma once

#include <Foundation/NSObjCRuntime.h>

typedef struct _NSRange {
  NSUInteger location;
  NSUInteger length;
} NSRange;
typedef NSRange *NSRangePointer;

NS_ASSUME_NONNULL_BEGIN

FOUNDATION_EXPORT NSRange NSMakeRange(NSUInteger loc, NSUInteger len);
FOUNDATION_EXPORT NSUInteger NSMaxRange(NSRange range);

NS_ASSUME_NONNULL_END
