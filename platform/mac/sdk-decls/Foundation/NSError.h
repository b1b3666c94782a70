// Errors: a domain, a code and a user-readable description.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;

typedef NSString *NSErrorDomain;

NS_ASSUME_NONNULL_BEGIN

@interface NSError : NSObject <NSCopying, NSCoding>
@property(readonly, copy) NSErrorDomain domain;
@property(readonly) NSInteger code;
@property(readonly, copy) NSString *localizedDescription;
@end

NS_ASSUME_NONNULL_END
