// Timers fire on the run loop they are added to; a repeating timer keeps firing (and keeps its
// block alive) until it is invalidated, from the thread of that run loop.
#pragma once

#include <Foundation/NSDate.h>
#include <Foundation/NSObject.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSTimer : NSObject
+ (NSTimer *)timerWithTimeInterval:(NSTimeInterval)interval
                           repeats:(BOOL)repeats
                             block:(void (^)(NSTimer *timer))block;
+ (NSTimer *)scheduledTimerWithTimeInterval:(NSTimeInterval)interval
                                    repeats:(BOOL)repeats
                                      block:(void (^)(NSTimer *timer))block;
- (void)invalidate;
@property(readonly, getter=isValid) BOOL valid;
@end

NS_ASSUME_NONNULL_END
