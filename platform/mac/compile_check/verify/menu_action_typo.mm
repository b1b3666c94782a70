// A menu or button action names a selector that some interface declares; a mistyped one is an
// error (-Wundeclared-selector). Actions that no public header declares, such as undo: and redo:,
// are formed with NSSelectorFromString instead.
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#import <AppKit/AppKit.h>

@interface MenuTarget : NSObject
- (void)showAbout:(id)sender;
- (void)toggleOnlineDictionary:(id)sender;
@end

NSMenu* buildMenu(MenuTarget* target);
NSMenu* buildMenu(MenuTarget* target) {
  NSMenu* menu = [[NSMenu alloc] initWithTitle:@""];
  NSMenuItem* about = [[NSMenuItem alloc] initWithTitle:@"关于" action:@selector(showAbuot:) keyEquivalent:@""];  // expected-error {{undeclared selector 'showAbuot:'}}
  about.target = target;
  [menu addItem:about];
  [menu addItemWithTitle:@"在线词库" action:@selector(toggleOnlineDictionary) keyEquivalent:@""];  // expected-error {{undeclared selector 'toggleOnlineDictionary'}}
  (void)@selector(undo:);  // expected-error {{undeclared selector 'undo:'}}
  (void)NSSelectorFromString(@"undo:");
  return menu;
}
