// Foundation's object protocols and the Core Foundation ownership transfers.
#pragma once

#include <Foundation/NSObjCRuntime.h>

@class NSCoder;
typedef struct _NSZone NSZone;

NS_ASSUME_NONNULL_BEGIN

@protocol NSCopying
- (id)copyWithZone:(nullable NSZone *)zone;
@end

@protocol NSMutableCopying
- (id)mutableCopyWithZone:(nullable NSZone *)zone;
@end

@protocol NSCoding
- (void)encodeWithCoder:(NSCoder *)coder;
- (nullable instancetype)initWithCoder:(NSCoder *)coder;
@end

// A CF object handed to ARC (which will release it), and an object handed to CF (CFRelease it).
FOUNDATION_EXPORT id _Nullable CFBridgingRelease(CFTypeRef CF_CONSUMED _Nullable X);
FOUNDATION_EXPORT CFTypeRef _Nullable CFBridgingRetain(id _Nullable X) CF_RETURNS_RETAINED;

NS_ASSUME_NONNULL_END
