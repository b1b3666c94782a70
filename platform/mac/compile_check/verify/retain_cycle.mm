// A block stored on an object that captures that object strongly keeps it alive for good (a
// panel or controller that is never released, with its engine): that is an error, and the weak
// capture that the layer uses instead is not.
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#import <AppKit/AppKit.h>

@interface MarqueeCell : NSView
@property(nonatomic, copy) void (^onClick)(void);
- (void)pick;
@end

@implementation MarqueeCell
- (void)pick {}
- (void)wire {
  self.onClick = ^{ [self pick]; };  // expected-error {{capturing 'self' strongly in this block is likely to lead to a retain cycle}}
  __weak MarqueeCell* weakSelf = self;
  self.onClick = ^{ [weakSelf pick]; };
}
@end
