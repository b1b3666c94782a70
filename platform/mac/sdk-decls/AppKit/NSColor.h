// Colours, fixed and semantic (the semantic ones follow light and dark appearance).
#pragma once

#include <AppKit/AppKitDefines.h>
#include <CoreGraphics/CoreGraphics.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSColor : NSObject <NSCopying, NSCoding>
+ (NSColor *)colorWithCalibratedWhite:(CGFloat)white alpha:(CGFloat)alpha;
+ (NSColor *)colorWithCalibratedRed:(CGFloat)red
                              green:(CGFloat)green
                               blue:(CGFloat)blue
                              alpha:(CGFloat)alpha;
- (NSColor *)colorWithAlphaComponent:(CGFloat)alpha;
@property(readonly) CGColorRef CGColor;
@property(class, strong, readonly) NSColor *clearColor;
@property(class, strong, readonly) NSColor *whiteColor;
@property(class, strong, readonly) NSColor *labelColor;
@property(class, strong, readonly) NSColor *secondaryLabelColor;
@property(class, strong, readonly) NSColor *tertiaryLabelColor;
@property(class, strong, readonly) NSColor *textColor;
@property(class, strong, readonly) NSColor *systemBlueColor;
@end

NS_ASSUME_NONNULL_END
