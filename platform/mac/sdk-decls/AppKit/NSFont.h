// Fonts: by PostScript name (nil when no such font is available) or the system font.
#pragma once

#include <AppKit/AppKitDefines.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSFont : NSObject <NSCopying, NSCoding>
+ (nullable NSFont *)fontWithName:(NSString *)fontName size:(CGFloat)fontSize;
+ (NSFont *)systemFontOfSize:(CGFloat)fontSize;
+ (NSFont *)boldSystemFontOfSize:(CGFloat)fontSize;
@property(readonly, copy) NSString *fontName;
@property(readonly) CGFloat pointSize;
@end

NS_ASSUME_NONNULL_END
