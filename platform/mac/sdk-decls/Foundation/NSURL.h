// URLs, for web addresses and for files.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;

NS_ASSUME_NONNULL_BEGIN

@interface NSURL : NSObject <NSCopying, NSCoding>
// nil when the string is not a valid URL.
+ (nullable instancetype)URLWithString:(NSString *)URLString;
+ (NSURL *)fileURLWithPath:(NSString *)path isDirectory:(BOOL)isDir;
+ (NSURL *)fileURLWithPath:(NSString *)path;
@property(nullable, readonly, copy) NSString *absoluteString;
@property(nullable, readonly, copy) NSString *scheme;
@property(nullable, readonly, copy) NSString *path;
@end

NS_ASSUME_NONNULL_END
