// URL responses; HTTP ones carry the status code and header fields.
#pragma once

#include <Foundation/NSObject.h>

@class NSURL, NSDictionary<KeyType, ObjectType>;

NS_ASSUME_NONNULL_BEGIN

@interface NSURLResponse : NSObject <NSCopying, NSCoding>
@property(nullable, readonly, copy) NSURL *URL;
// The length the server announced, or -1 (NSURLResponseUnknownLength) when it announced none.
@property(readonly) long long expectedContentLength;
@end

@interface NSHTTPURLResponse : NSURLResponse
@property(readonly) NSInteger statusCode;
@property(readonly, copy) NSDictionary *allHeaderFields;
@end

NS_ASSUME_NONNULL_END
