// The workspace: opening addresses in their default application, and the active application.
#pragma once

#include <AppKit/AppKitDefines.h>
#include <AppKit/NSRunningApplication.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSWorkspace : NSObject
@property(class, readonly, strong) NSWorkspace *sharedWorkspace;
- (BOOL)openURL:(NSURL *)url;
// The application that receives key events; nil when none does.
@property(nullable, readonly, strong) NSRunningApplication *frontmostApplication;
@end

NS_ASSUME_NONNULL_END
