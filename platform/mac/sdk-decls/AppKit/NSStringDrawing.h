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
@end

@interface NSAttributedString (NSExtendedStringDrawing)
- (NSRect)boundingRectWithSize:(NSSize)size
                       options:(NSStringDrawingOptions)options
                       context:(nullable NSStringDrawingContext *)context;
@end

NS_ASSUME_NONNULL_END
