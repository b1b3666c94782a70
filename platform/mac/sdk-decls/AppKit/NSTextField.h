// Text fields: editable fields and static labels.
#pragma once

#include <AppKit/NSControl.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSTextField : NSControl
@property(nullable, copy) NSString *placeholderString;
@property BOOL drawsBackground;
@property(nullable, copy) NSColor *textColor;
@property(getter=isBordered) BOOL bordered;
@property(getter=isBezeled) BOOL bezeled;
@property(getter=isEditable) BOOL editable;
@property(getter=isSelectable) BOOL selectable;
@property NSInteger maximumNumberOfLines;
@end

@interface NSTextField (NSTextFieldConvenience)
+ (instancetype)labelWithString:(NSString *)stringValue;
@end

NS_ASSUME_NONNULL_END
