// Run loops and their modes; timers added for the common modes also fire while a menu tracks.
#pragma once

#include <Foundation/NSObject.h>

@class NSString, NSTimer;

typedef NSString *NSRunLoopMode NS_TYPED_EXTENSIBLE_ENUM;

NS_ASSUME_NONNULL_BEGIN

FOUNDATION_EXPORT NSRunLoopMode const NSDefaultRunLoopMode;
FOUNDATION_EXPORT NSRunLoopMode const NSRunLoopCommonModes;

@interface NSRunLoop : NSObject
@property(class, readonly, strong) NSRunLoop *currentRunLoop;
@property(class, readonly, strong) NSRunLoop *mainRunLoop;
- (void)addTimer:(NSTimer *)timer forMode:(NSRunLoopMode)mode;
@end

NS_ASSUME_NONNULL_END
