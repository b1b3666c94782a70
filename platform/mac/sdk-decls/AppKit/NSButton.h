// Buttons.
#pragma once

#include <AppKit/NSControl.h>

typedef NS_ENUM(NSUInteger, NSBezelStyle) {
  NSBezelStyleRounded = 1,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSButton : NSControl
@property(copy) NSString *title;
@property NSBezelStyle bezelStyle;
@property(copy) NSString *keyEquivalent;
@end

NS_ASSUME_NONNULL_END
