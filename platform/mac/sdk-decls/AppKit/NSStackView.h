// Stack views: arranged subviews in a row or a column.
#pragma once

#include <AppKit/NSLayoutConstraint.h>
#include <AppKit/NSView.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSStackView : NSView
@property NSUserInterfaceLayoutOrientation orientation;
@property NSLayoutAttribute alignment;
@property NSEdgeInsets edgeInsets;
@property CGFloat spacing;
@property(readonly, copy) NSArray<__kindof NSView *> *arrangedSubviews;
- (void)addArrangedSubview:(NSView *)view;
- (void)removeArrangedSubview:(NSView *)view;
@end

NS_ASSUME_NONNULL_END
