// Auto Layout constraints and the views' anchors, fitting sizes and priorities.
#pragma once

#include <AppKit/NSLayoutAnchor.h>
#include <AppKit/NSView.h>

typedef float NSLayoutPriority NS_TYPED_EXTENSIBLE_ENUM;
static const NSLayoutPriority NSLayoutPriorityRequired = 1000;
static const NSLayoutPriority NSLayoutPriorityDefaultHigh = 750;
static const NSLayoutPriority NSLayoutPriorityDefaultLow = 250;

typedef NS_ENUM(NSInteger, NSLayoutConstraintOrientation) {
  NSLayoutConstraintOrientationHorizontal = 0,
  NSLayoutConstraintOrientationVertical = 1,
};

typedef NS_ENUM(NSInteger, NSLayoutAttribute) {
  NSLayoutAttributeLeading = 5,
  NSLayoutAttributeTrailing = 6,
  NSLayoutAttributeCenterX = 9,
  NSLayoutAttributeCenterY = 10,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSLayoutConstraint : NSObject
+ (void)activateConstraints:(NSArray<NSLayoutConstraint *> *)constraints;
@property NSLayoutPriority priority;
@property CGFloat constant;
@property(getter=isActive) BOOL active;
@end

@interface NSView (NSConstraintBasedLayoutInstallingConstraints)
@property(readonly, strong) NSLayoutXAxisAnchor *leadingAnchor;
@property(readonly, strong) NSLayoutXAxisAnchor *trailingAnchor;
@property(readonly, strong) NSLayoutYAxisAnchor *topAnchor;
@property(readonly, strong) NSLayoutYAxisAnchor *bottomAnchor;
@property(readonly, strong) NSLayoutDimension *widthAnchor;
@property(readonly, strong) NSLayoutDimension *heightAnchor;
@property(readonly, strong) NSLayoutXAxisAnchor *centerXAnchor;
@property(readonly, strong) NSLayoutYAxisAnchor *centerYAnchor;
@end

@interface NSView (NSConstraintBasedCompatibility)
@property BOOL translatesAutoresizingMaskIntoConstraints;
@end

@interface NSView (NSConstraintBasedLayoutLayering)
- (void)setContentHuggingPriority:(NSLayoutPriority)priority
                   forOrientation:(NSLayoutConstraintOrientation)orientation;
- (void)setContentCompressionResistancePriority:(NSLayoutPriority)priority
                                 forOrientation:(NSLayoutConstraintOrientation)orientation;
@end

@interface NSView (NSConstraintBasedLayoutFittingSize)
@property(readonly) NSSize fittingSize;
@end

NS_ASSUME_NONNULL_END
