// The user's defaults database. Values are property-list objects: NSString, NSNumber (booleans
// included), NSData, NSDate, NSArray and NSDictionary of those. Thread-safe.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;

NS_ASSUME_NONNULL_BEGIN

@interface NSUserDefaults : NSObject
@property(class, readonly, strong) NSUserDefaults *standardUserDefaults;
// The defaults of another domain (nil for the standard ones); nil for an invalid name.
- (nullable instancetype)initWithSuiteName:(nullable NSString *)suitename NS_DESIGNATED_INITIALIZER;
- (nullable id)objectForKey:(NSString *)defaultName;
// A nil value removes the key; a value that is not a property list raises.
- (void)setObject:(nullable id)value forKey:(NSString *)defaultName;
- (void)removeObjectForKey:(NSString *)defaultName;
@end

NS_ASSUME_NONNULL_END
