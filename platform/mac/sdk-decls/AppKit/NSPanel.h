// Panels: auxiliary windows; with NSWindowStyleMaskNonactivatingPanel a click does not
// activate the owning application.
#pragma once

#include <AppKit/NSWindow.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSPanel : NSWindow
@property(getter=isFloatingPanel) BOOL floatingPanel;
@property BOOL becomesKeyOnlyIfNeeded;
@end

NS_ASSUME_NONNULL_END
