// Controls: a value, a font and alignment, and a target/action pair sent when used.
#pragma once

#include <AppKit/NSCell.h>
#include <AppKit/NSParagraphStyle.h>
#include <AppKit/NSText.h>
#include <AppKit/NSView.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSControl : NSView
- (instancetype)initWithFrame:(NSRect)frameRect NS_DESIGNATED_INITIALIZER;
- (nullable instancetype)initWithCoder:(NSCoder *)coder NS_DESIGNATED_INITIALIZER;
@property(nullable, weak) id target;
@property(nullable) SEL action;
@property NSInteger tag;
@property(getter=isEnabled) BOOL enabled;
@property(nullable, strong) NSFont *font;
@property NSTextAlignment alignment;
@property NSLineBreakMode lineBreakMode;
@property NSWritingDirection baseWritingDirection;
@property(copy) NSString *stringValue;
@end

NS_ASSUME_NONNULL_END
