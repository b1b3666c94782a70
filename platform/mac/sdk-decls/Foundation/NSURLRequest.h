// URL requests; the HTTP fields are set on the mutable form.
#pragma once

#include <Foundation/NSDate.h>
#include <Foundation/NSObject.h>

@class NSURL, NSString, NSData;

typedef NS_ENUM(NSUInteger, NSURLRequestCachePolicy) {
  NSURLRequestUseProtocolCachePolicy = 0,
  NSURLRequestReloadIgnoringLocalCacheData = 1,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSURLRequest : NSObject <NSCopying, NSMutableCopying, NSCoding>
+ (instancetype)requestWithURL:(NSURL *)URL;
@property(nullable, readonly, copy) NSURL *URL;
@end

@interface NSURLRequest (NSHTTPURLRequest)
@property(nullable, readonly, copy) NSString *HTTPMethod;
@end

@interface NSMutableURLRequest : NSURLRequest
@property NSURLRequestCachePolicy cachePolicy;
@property NSTimeInterval timeoutInterval;
@end

@interface NSMutableURLRequest (NSMutableHTTPURLRequest)
@property(copy) NSString *HTTPMethod;
- (void)setValue:(nullable NSString *)value forHTTPHeaderField:(NSString *)field;
- (void)addValue:(NSString *)value forHTTPHeaderField:(NSString *)field;
@property(nullable, copy) NSData *HTTPBody;
@end

NS_ASSUME_NONNULL_END
