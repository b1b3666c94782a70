// Points in time.
#pragma once

#include <Foundation/NSObject.h>

typedef double NSTimeInterval;

NS_ASSUME_NONNULL_BEGIN

@interface NSDate : NSObject <NSCopying, NSCoding>
@end

@interface NSDate (NSExtendedDate)
@property(readonly) NSTimeInterval timeIntervalSince1970;
@end

@interface NSDate (NSDateCreation)
+ (instancetype)date;
+ (instancetype)dateWithTimeIntervalSinceNow:(NSTimeInterval)secs;
@end

NS_ASSUME_NONNULL_END
