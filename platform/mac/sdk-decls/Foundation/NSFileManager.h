// The file manager, for locating the user's folders (file access itself is portable C++).
#pragma once

#include <Foundation/NSPathUtilities.h>

@class NSURL, NSArray<ObjectType>;

NS_ASSUME_NONNULL_BEGIN

@interface NSFileManager : NSObject
@property(class, readonly, strong) NSFileManager *defaultManager;
- (NSArray<NSURL *> *)URLsForDirectory:(NSSearchPathDirectory)directory
                             inDomains:(NSSearchPathDomainMask)domainMask;
- (BOOL)fileExistsAtPath:(NSString *)path;
@end

NS_ASSUME_NONNULL_END
