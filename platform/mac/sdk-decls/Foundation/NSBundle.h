// Bundles: the application's own (mainBundle), its Info.plist values and its resources.
#pragma once

#include <Foundation/NSObject.h>

@class NSString, NSDictionary<KeyType, ObjectType>;

NS_ASSUME_NONNULL_BEGIN

@interface NSBundle : NSObject
@property(class, readonly, strong) NSBundle *mainBundle;
// The bundle at `path`; nil when there is none.
+ (nullable instancetype)bundleWithPath:(NSString *)path;
@property(readonly, copy) NSString *bundlePath;
@property(nullable, readonly, copy) NSString *resourcePath;
@property(nullable, readonly, copy) NSString *bundleIdentifier;
@property(nullable, readonly, copy) NSDictionary<NSString *, id> *infoDictionary;
- (nullable id)objectForInfoDictionaryKey:(NSString *)key;
- (nullable NSString *)pathForResource:(nullable NSString *)name ofType:(nullable NSString *)ext;
@end

NS_ASSUME_NONNULL_END
