// Measuring strings with attributes.
#pragma once

#include <AppKit/AppKitDefines.h>

@class NSStringDrawingContext;

typedef NS_OPTIONS(NSInteger, NSStringDrawingOptions) {
  NSStringDrawingUsesLineFragmentOrigin = 1 << 0,
  NSStringDrawingUsesFontLeading = 1 << 1,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSString (NSStringDrawing)
- (NSSize)sizeWithAttributes:(nullable NSDictionary<NSAttributedStringKey, id> *)attrs;
@end

@interface NSAttributedString (NSStringDrawing)
- (NSSize)size;
// Draws in the current (view's) context; lines that do not fit are wrapped or clipped as the
// paragraph style's line-break mode says.
- (void)drawInRect:(NSRect)rect;
@end

@interface NSAttributedString (NSExtendedStringDrawing)
- (NSRect)boundingRectWithSize:(NSSize)size
                       options:(NSStringDrawingOptions)options
                       context:(nullable NSStringDrawingContext *)context;
@end

NS_ASSUME_NONNULL_END
