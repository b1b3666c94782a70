// Multi-line text views (the feedback message), as the document view of a scroll view.
#pragma once

#include <AppKit/NSText.h>

@class NSTextContainer;

NS_ASSUME_NONNULL_BEGIN

@interface NSTextView : NSText
- (instancetype)initWithFrame:(NSRect)frameRect;
@property BOOL allowsUndo;
@property(nullable, assign) NSTextContainer *textContainer;
@end

NS_ASSUME_NONNULL_END
