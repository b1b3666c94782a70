// Image views.
#pragma once

#include <AppKit/NSControl.h>

@class NSImage;

typedef NS_ENUM(NSUInteger, NSImageScaling) {
  NSImageScaleProportionallyDown = 0,
  NSImageScaleAxesIndependently,
  NSImageScaleNone,
  NSImageScaleProportionallyUpOrDown,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSImageView : NSControl
@property(nullable, strong) NSImage *image;
@property NSImageScaling imageScaling;
@end

NS_ASSUME_NONNULL_END
