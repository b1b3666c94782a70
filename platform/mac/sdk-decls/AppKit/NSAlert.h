// Modal alerts; runModal answers the chosen button, the first being NSAlertFirstButtonReturn.
#pragma once

#include <AppKit/NSApplication.h>

@class NSButton;

typedef NS_ENUM(NSUInteger, NSAlertStyle) {
  NSAlertStyleWarning = 0,
  NSAlertStyleInformational = 1,
  NSAlertStyleCritical = 2,
};

static const NSModalResponse NSAlertFirstButtonReturn = 1000;
static const NSModalResponse NSAlertSecondButtonReturn = 1001;

NS_ASSUME_NONNULL_BEGIN

@interface NSAlert : NSObject
@property(copy) NSString *messageText;
@property(copy) NSString *informativeText;
@property NSAlertStyle alertStyle;
- (NSButton *)addButtonWithTitle:(NSString *)title;
- (NSModalResponse)runModal;
@end

NS_ASSUME_NONNULL_END
