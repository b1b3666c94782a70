// Progress bars.
#pragma once

#include <AppKit/NSView.h>

typedef NS_ENUM(NSUInteger, NSProgressIndicatorStyle) {
  NSProgressIndicatorStyleBar = 0,
  NSProgressIndicatorStyleSpinning = 1,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSProgressIndicator : NSView
@property(getter=isIndeterminate) BOOL indeterminate;
@property double doubleValue;
@property double minValue;
@property double maxValue;
@property NSProgressIndicatorStyle style;
- (void)startAnimation:(nullable id)sender;
- (void)stopAnimation:(nullable id)sender;
@end

NS_ASSUME_NONNULL_END
