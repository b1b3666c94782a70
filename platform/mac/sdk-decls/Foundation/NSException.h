// Objective-C exceptions and the process-wide handler for those that nobody catches.
#pragma once

#include <Foundation/NSObject.h>

@class NSString, NSArray<ObjectType>;

typedef NSString *NSExceptionName NS_TYPED_EXTENSIBLE_ENUM;

NS_ASSUME_NONNULL_BEGIN

@interface NSException : NSObject <NSCopying, NSCoding>
@property(readonly, copy) NSExceptionName name;
@property(nullable, readonly, copy) NSString *reason;
@property(readonly, copy) NSArray<NSString *> *callStackSymbols;
@end

typedef void NSUncaughtExceptionHandler(NSException *exception);
FOUNDATION_EXPORT NSUncaughtExceptionHandler *_Nullable NSGetUncaughtExceptionHandler(void);
FOUNDATION_EXPORT void NSSetUncaughtExceptionHandler(NSUncaughtExceptionHandler *_Nullable handler);

NS_ASSUME_NONNULL_END
