// URL responses; HTTP ones carry the status code and header fields.
#pragma once

#include <Foundation/NSObject.h>

@class NSURL, NSDictionary<KeyType, ObjectType>;

NS_ASSUME_NONNULL_BEGIN

@interface NSURLResponse : NSObject <NSCopying, NSCoding>
@property(nullable, readonly, copy) NSURL *URL;
@end

@interface NSHTTPURLResponse : NSURLResponse
@property(readonly) NSInteger statusCode;
@property(readonly, copy) NSDictionary *allHeaderFields;
@end

NS_ASSUME_NONNULL_END
