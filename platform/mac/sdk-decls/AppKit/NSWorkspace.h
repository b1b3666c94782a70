// The workspace: opening addresses in their default application.
#pragma once

#include <AppKit/AppKitDefines.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSWorkspace : NSObject
@property(class, readonly, strong) NSWorkspace *sharedWorkspace;
- (BOOL)openURL:(NSURL *)url;
@end

NS_ASSUME_NONNULL_END
