// Images: by name (the application icon among them) or from a file.
#pragma once

#include <AppKit/AppKitDefines.h>

typedef NSString *NSImageName NS_TYPED_EXTENSIBLE_ENUM;

NS_ASSUME_NONNULL_BEGIN

APPKIT_EXTERN NSImageName const NSImageNameApplicationIcon;

@interface NSImage : NSObject <NSCopying, NSCoding>
+ (nullable NSImage *)imageNamed:(NSImageName)name;
- (nullable instancetype)initWithContentsOfFile:(NSString *)fileName;
@property NSSize size;
@end

NS_ASSUME_NONNULL_END
