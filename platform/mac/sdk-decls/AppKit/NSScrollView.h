// Scroll views.
#pragma once

#include <AppKit/NSView.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSScrollView : NSView
@property(nullable, strong) __kindof NSView *documentView;
@property(readonly) NSSize contentSize;
@property NSBorderType borderType;
@property BOOL hasVerticalScroller;
@end

NS_ASSUME_NONNULL_END
