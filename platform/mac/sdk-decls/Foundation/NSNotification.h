// Notifications: posted by name, delivered to the blocks of their observers.
#pragma once

#include <Foundation/NSObject.h>

@class NSString, NSOperationQueue;

typedef NSString *NSNotificationName NS_TYPED_EXTENSIBLE_ENUM;

NS_ASSUME_NONNULL_BEGIN

@interface NSNotification : NSObject <NSCopying, NSCoding>
@property(readonly, copy) NSNotificationName name;
@property(nullable, readonly, retain) id object;
@end

@interface NSNotificationCenter : NSObject
@property(class, readonly, strong) NSNotificationCenter *defaultCenter;
// The returned object is the observation; pass it to removeObserver: to end it.
- (id<NSObject>)addObserverForName:(nullable NSNotificationName)name
                            object:(nullable id)obj
                             queue:(nullable NSOperationQueue *)queue
                        usingBlock:(void (^)(NSNotification *notification))block;
- (void)removeObserver:(id)observer;
@end

NS_ASSUME_NONNULL_END
