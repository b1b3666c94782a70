// Menus (the input menu of the input method is one).
#pragma once

#include <AppKit/AppKitDefines.h>

@class NSMenuItem, NSView;

NS_ASSUME_NONNULL_BEGIN

@interface NSMenu : NSObject <NSCopying, NSCoding>
- (instancetype)initWithTitle:(NSString *)title NS_DESIGNATED_INITIALIZER;
- (void)addItem:(NSMenuItem *)newItem;
- (NSMenuItem *)addItemWithTitle:(NSString *)string
                          action:(nullable SEL)selector
                   keyEquivalent:(NSString *)charCode;
@property(copy) NSArray<NSMenuItem *> *itemArray;
@property BOOL autoenablesItems;
// Shows the menu with `item` at `location` (screen coordinates when `view` is nil) and tracks it
// until the user chooses or dismisses; YES when an item was chosen.
- (BOOL)popUpMenuPositioningItem:(nullable NSMenuItem *)item
                      atLocation:(NSPoint)location
                          inView:(nullable NSView *)view;
@end

NS_ASSUME_NONNULL_END
