// Paragraph styles: alignment, base writing direction, line breaking.
#pragma once

#include <AppKit/NSText.h>

typedef NS_ENUM(NSInteger, NSLineBreakMode) {
  NSLineBreakByWordWrapping = 0,
  NSLineBreakByCharWrapping,
  NSLineBreakByClipping,
  NSLineBreakByTruncatingHead,
  NSLineBreakByTruncatingTail,
  NSLineBreakByTruncatingMiddle,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSParagraphStyle : NSObject <NSCopying, NSMutableCopying, NSCoding>
@end

@interface NSMutableParagraphStyle : NSParagraphStyle
@property NSTextAlignment alignment;
@property NSWritingDirection baseWritingDirection;
@property NSLineBreakMode lineBreakMode;
@end

NS_ASSUME_NONNULL_END
