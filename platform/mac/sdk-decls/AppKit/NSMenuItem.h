// Menu items: a title, an action sent to a target (or along the responder chain), a state.
#pragma once

#include <AppKit/NSCell.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSMenuItem : NSObject <NSCopying, NSCoding>
+ (NSMenuItem *)separatorItem;
- (instancetype)initWithTitle:(NSString *)string
                       action:(nullable SEL)selector
                keyEquivalent:(NSString *)charCode NS_DESIGNATED_INITIALIZER;
@property(copy) NSString *title;
@property(nullable, weak) id target;
@property(nullable) SEL action;
@property NSInteger tag;
@property NSControlStateValue state;
@property(getter=isEnabled) BOOL enabled;
@property(nullable, strong) id representedObject;
@end

NS_ASSUME_NONNULL_END
