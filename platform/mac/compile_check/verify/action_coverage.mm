// Every input-menu action has its selector on every object a menu item targets, and every switch
// over the ports' action enumerations names every action: an object that leaves one out, or a
// switch that forgets one, fails to compile instead of dropping the user's choice.
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#import "platform/mac/input_menu.h"

@interface HalfMenuTarget : NSObject <OrnavInputMenuActions>
@end

@implementation HalfMenuTarget  // expected-error {{method 'sendFeedback:' in protocol 'OrnavInputMenuActions' not implemented}}
- (void)showWelcomeEntry:(id)sender {}
- (void)showKeyMap:(id)sender {}
- (void)showAbout:(id)sender {}
- (void)toggleOnlineDict:(id)sender {}
- (void)toggleUploadConsent:(id)sender {}
- (void)togglePredictions:(id)sender {}
- (void)toggleUlyLayout:(id)sender {}
- (void)checkUpdate:(id)sender {}
@end

SEL actionFor(ornav::InputMenuAction action);
SEL actionFor(ornav::InputMenuAction action) {
  switch (action) {  // expected-error {{enumeration value 'sendFeedback' not handled in switch}}
    case ornav::InputMenuAction::showWelcomeEntry: return @selector(showWelcomeEntry:);
    case ornav::InputMenuAction::showKeyMap: return @selector(showKeyMap:);
    case ornav::InputMenuAction::showAbout: return @selector(showAbout:);
    case ornav::InputMenuAction::toggleOnlineDict: return @selector(toggleOnlineDict:);
    case ornav::InputMenuAction::toggleUploadConsent: return @selector(toggleUploadConsent:);
    case ornav::InputMenuAction::togglePredictions: return @selector(togglePredictions:);
    case ornav::InputMenuAction::toggleUlyLayout: return @selector(toggleUlyLayout:);
    case ornav::InputMenuAction::checkUpdate: return @selector(checkUpdate:);
  }
  return nullptr;
}
