// The input menu in AppKit: one action selector per InputMenuAction, menus built from a
// MenuDescription with those actions and check marks, and the InputMenu port as a pop-up menu.
// Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <functional>

#include "ports/input_menu.h"

NS_ASSUME_NONNULL_BEGIN

// The menu's actions. Every object a menu item targets implements all of them, so no action can
// be missing or misspelt on either side of a menu.
@protocol OrnavInputMenuActions <NSObject>
- (void)showWelcomeEntry:(nullable id)sender;
- (void)showKeyMap:(nullable id)sender;
- (void)showAbout:(nullable id)sender;
- (void)toggleOnlineDict:(nullable id)sender;
- (void)toggleUploadConsent:(nullable id)sender;
- (void)togglePredictions:(nullable id)sender;
- (void)toggleUlyLayout:(nullable id)sender;
- (void)checkUpdate:(nullable id)sender;
- (void)sendFeedback:(nullable id)sender;
@end

// Reports each action to a function.
@interface OrnavMenuActionTarget : NSObject <OrnavInputMenuActions>
- (instancetype)initWithHandler:(std::function<void(ornav::InputMenuAction)>)handler
    NS_DESIGNATED_INITIALIZER;
- (instancetype)init NS_UNAVAILABLE;
@end

namespace ornav::mac_platform {

SEL selectorFor(InputMenuAction action);

// Items in order: separators, titles, actions sent to `target` (held weakly by each item), key
// equivalents, and a check mark for items that are on.
NSMenu* menuFor(const MenuDescription& description, id<OrnavInputMenuActions> target);

// Pops the menu up at the pointer and reports the chosen action while it tracks.
class AppKitInputMenu final : public InputMenu {
 public:
  void show(const MenuDescription& menu,
            std::function<void(InputMenuAction action)> onAction) override;
};

}  // namespace ornav::mac_platform

NS_ASSUME_NONNULL_END
