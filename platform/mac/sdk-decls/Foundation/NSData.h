// Byte buffers.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;

NS_ASSUME_NONNULL_BEGIN

@interface NSData : NSObject <NSCopying, NSMutableCopying, NSCoding>
@property(readonly) NSUInteger length;
@property(readonly) const void *bytes NS_RETURNS_INNER_POINTER;
@end

@interface NSData (NSDataCreation)
+ (instancetype)dataWithBytes:(nullable const void *)bytes length:(NSUInteger)length;
+ (nullable instancetype)dataWithContentsOfFile:(NSString *)path;
@end

NS_ASSUME_NONNULL_END
