// The text object under text views: alignment, writing direction and the editing actions
// (the selectors the editing shortcuts send).
#pragma once

#include <AppKit/NSView.h>

@class NSFont, NSColor;

// Apple silicon uses the iOS numbering for centre and right.
#if defined(__arm64__) || defined(__aarch64__)
typedef NS_ENUM(NSInteger, NSTextAlignment) {
  NSTextAlignmentLeft = 0,
  NSTextAlignmentCenter = 1,
  NSTextAlignmentRight = 2,
  NSTextAlignmentJustified = 3,
  NSTextAlignmentNatural = 4,
};
#else
typedef NS_ENUM(NSInteger, NSTextAlignment) {
  NSTextAlignmentLeft = 0,
  NSTextAlignmentRight = 1,
  NSTextAlignmentCenter = 2,
  NSTextAlignmentJustified = 3,
  NSTextAlignmentNatural = 4,
};
#endif

typedef NS_ENUM(NSInteger, NSWritingDirection) {
  NSWritingDirectionNatural = -1,
  NSWritingDirectionLeftToRight = 0,
  NSWritingDirectionRightToLeft = 1,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSText : NSView
@property(copy) NSString *string;
@property(getter=isEditable) BOOL editable;
@property(getter=isSelectable) BOOL selectable;
@property(getter=isRichText) BOOL richText;
@property BOOL drawsBackground;
@property(nullable, strong) NSFont *font;
@property(nullable, copy) NSColor *textColor;
@property NSTextAlignment alignment;
@property NSWritingDirection baseWritingDirection;
// Sizing inside a scroll view: the text grows downwards between these sizes.
@property NSSize minSize;
@property NSSize maxSize;
@property(getter=isVerticallyResizable) BOOL verticallyResizable;
@property(getter=isHorizontallyResizable) BOOL horizontallyResizable;
- (void)selectAll:(nullable id)sender;
- (void)copy:(nullable id)sender;
- (void)cut:(nullable id)sender;
- (void)paste:(nullable id)sender;
@end

NS_ASSUME_NONNULL_END
