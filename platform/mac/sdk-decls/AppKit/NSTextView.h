// Multi-line text views (the feedback message), as the document view of a scroll view.
#pragma once

#include <AppKit/NSText.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSTextView : NSText
- (instancetype)initWithFrame:(NSRect)frameRect;
@property BOOL allowsUndo;
@end

NS_ASSUME_NONNULL_END
