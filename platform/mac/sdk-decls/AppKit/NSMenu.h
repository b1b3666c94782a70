// Menus (the input menu of the input method is one).
#pragma once

#include <AppKit/AppKitDefines.h>

@class NSMenuItem;

NS_ASSUME_NONNULL_BEGIN

@interface NSMenu : NSObject <NSCopying, NSCoding>
- (instancetype)initWithTitle:(NSString *)title NS_DESIGNATED_INITIALIZER;
- (void)addItem:(NSMenuItem *)newItem;
- (NSMenuItem *)addItemWithTitle:(NSString *)string
                          action:(nullable SEL)selector
                   keyEquivalent:(NSString *)charCode;
@property(copy) NSArray<NSMenuItem *> *itemArray;
@property BOOL autoenablesItems;
@end

NS_ASSUME_NONNULL_END
