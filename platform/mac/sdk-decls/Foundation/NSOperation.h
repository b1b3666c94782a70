// Operation queues; a URL session delivers its delegate calls on one (serial when its maximum
// concurrency is 1).
#pragma once

#include <Foundation/NSObject.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSOperationQueue : NSObject
@property(class, readonly, strong) NSOperationQueue *mainQueue;
@property NSInteger maxConcurrentOperationCount;
- (void)addOperationWithBlock:(void (^)(void))block;
@end

NS_ASSUME_NONNULL_END
