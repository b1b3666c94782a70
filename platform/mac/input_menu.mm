#import "platform/mac/input_menu.h"

#include <utility>

#import "platform/mac/foundation_text.h"

@implementation OrnavMenuActionTarget {
  std::function<void(ornav::InputMenuAction)> _handler;
}

- (instancetype)initWithHandler:(std::function<void(ornav::InputMenuAction)>)handler {
  self = [super init];
  if (self) _handler = std::move(handler);
  return self;
}

- (void)report:(ornav::InputMenuAction)action {
  if (_handler) _handler(action);
}

- (void)showWelcomeEntry:(id)sender {
  [self report:ornav::InputMenuAction::showWelcomeEntry];
}

- (void)showKeyMap:(id)sender {
  [self report:ornav::InputMenuAction::showKeyMap];
}

- (void)showAbout:(id)sender {
  [self report:ornav::InputMenuAction::showAbout];
}

- (void)toggleOnlineDict:(id)sender {
  [self report:ornav::InputMenuAction::toggleOnlineDict];
}

- (void)toggleUploadConsent:(id)sender {
  [self report:ornav::InputMenuAction::toggleUploadConsent];
}

- (void)togglePredictions:(id)sender {
  [self report:ornav::InputMenuAction::togglePredictions];
}

- (void)toggleUlyLayout:(id)sender {
  [self report:ornav::InputMenuAction::toggleUlyLayout];
}

- (void)checkUpdate:(id)sender {
  [self report:ornav::InputMenuAction::checkUpdate];
}

- (void)sendFeedback:(id)sender {
  [self report:ornav::InputMenuAction::sendFeedback];
}

@end

namespace ornav::mac_platform {

SEL selectorFor(InputMenuAction action) {
  switch (action) {
    case InputMenuAction::showWelcomeEntry:
      return @selector(showWelcomeEntry:);
    case InputMenuAction::showKeyMap:
      return @selector(showKeyMap:);
    case InputMenuAction::showAbout:
      return @selector(showAbout:);
    case InputMenuAction::toggleOnlineDict:
      return @selector(toggleOnlineDict:);
    case InputMenuAction::toggleUploadConsent:
      return @selector(toggleUploadConsent:);
    case InputMenuAction::togglePredictions:
      return @selector(togglePredictions:);
    case InputMenuAction::toggleUlyLayout:
      return @selector(toggleUlyLayout:);
    case InputMenuAction::checkUpdate:
      return @selector(checkUpdate:);
    case InputMenuAction::sendFeedback:
      return @selector(sendFeedback:);
  }
  return nullptr;
}

NSMenu* menuFor(const MenuDescription& description, id<OrnavInputMenuActions> target) {
  NSMenu* menu = [[NSMenu alloc] initWithTitle:toNSString(description.title)];
  // The items' enabled state is their own; nothing in the process validates them.
  menu.autoenablesItems = NO;
  for (const MenuItem& item : description.items) {
    if (item.separator) {
      [menu addItem:[NSMenuItem separatorItem]];
      continue;
    }
    NSMenuItem* menuItem =
        [[NSMenuItem alloc] initWithTitle:toNSString(item.title)
                                   action:item.action ? selectorFor(*item.action) : nullptr
                            keyEquivalent:toNSString(item.keyEquivalent)];
    menuItem.target = target;
    menuItem.enabled = item.action.has_value();
    menuItem.state =
        item.state == MenuItem::State::on ? NSControlStateValueOn : NSControlStateValueOff;
    [menu addItem:menuItem];
  }
  return menu;
}

void AppKitInputMenu::show(const MenuDescription& menu,
                           std::function<void(InputMenuAction action)> onAction) {
  // Items hold their target weakly; this one lives until the menu has been tracked.
  OrnavMenuActionTarget* target =
      [[OrnavMenuActionTarget alloc] initWithHandler:std::move(onAction)];
  [menuFor(menu, target) popUpMenuPositioningItem:nil atLocation:NSEvent.mouseLocation inView:nil];
}

}  // namespace ornav::mac_platform
