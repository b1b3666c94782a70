#import "platform/mac/imk_input_controller.h"

#include <optional>
#include <utility>

#include "core/ornav_input_controller.h"
#import "platform/mac/imk_text_client.h"
#import "platform/mac/key_events.h"

namespace ornav::mac_platform {

namespace {

std::shared_ptr<ControllerEnvironment>& sharedEnvironment() {
  static std::shared_ptr<ControllerEnvironment> environment;
  return environment;
}

}  // namespace

void setControllerEnvironment(std::shared_ptr<ControllerEnvironment> environment) {
  sharedEnvironment() = std::move(environment);
}

}  // namespace ornav::mac_platform

namespace {

using ornav::mac_platform::ImkTextClient;

// The sender of a call as a text client, or nil when it does not speak the client protocol.
id<IMKTextInput> textInputOf(id sender) {
  return [sender conformsToProtocol:@protocol(IMKTextInput)] ? sender : nil;
}

// The controller that was activated last and has not been deactivated since. InputMethodKit does
// not always deactivate one controller before it activates the next (notably when another process
// selects the input source); the new activation then deactivates the old one first.
__weak OrnavInputController* activeController = nil;

}  // namespace

@implementation OrnavInputController {
  // The client as InputMethodKit reports it at each moment, for the portable controller's own
  // calls (a click in its panel); the calls of InputMethodKit pass their sender instead.
  std::unique_ptr<ornav::mac_platform::CurrentClient> _currentClient;
  std::shared_ptr<ornav::OrnavInputController> _controller;
  BOOL _active;
}

- (id)initWithServer:(IMKServer*)server delegate:(id)delegate client:(id)inputClient {
  self = [super initWithServer:server delegate:delegate client:inputClient];
  if (self) {
    std::shared_ptr<ornav::ControllerEnvironment> environment =
        ornav::mac_platform::sharedEnvironment();
    if (environment) {
      _currentClient = std::make_unique<ornav::mac_platform::CurrentClient>(self);
      _controller = ornav::OrnavInputController::create(environment, _currentClient.get());
    }
  }
  return self;
}

+ (void)deactivateActiveController {
  [activeController deactivateForwarding];
}

- (BOOL)handleEvent:(NSEvent*)event client:(id)sender {
  if (!_controller) return NO;
  const std::optional<ornav::KeyEvent> key = ornav::mac_platform::keyEventFrom(event);
  if (!key) return NO;
  ImkTextClient client(textInputOf(sender));
  return _controller->handle(&*key, textInputOf(sender) != nil ? &client : nullptr);
}

- (void)activateServer:(id)sender {
  OrnavInputController* previous = activeController;
  if (previous != nil && previous != self) [previous deactivateForwarding];
  [super activateServer:sender];
  if (!_controller) return;
  ImkTextClient client(textInputOf(sender));
  _controller->activateServer(textInputOf(sender) != nil ? &client : nullptr);
  _active = YES;
  activeController = self;
}

- (void)deactivateServer:(id)sender {
  [self deactivateForwardingWithClient:textInputOf(sender)];
  [super deactivateServer:sender];
}

// Deactivates the portable controller once per activation, in the client it was active in.
- (void)deactivateForwardingWithClient:(id<IMKTextInput>)textInput {
  if (!_active || !_controller) return;
  _active = NO;
  if (activeController == self) activeController = nil;
  ImkTextClient client(textInput);
  _controller->deactivateServer(textInput != nil ? &client : nullptr);
}

- (void)deactivateForwarding {
  [self deactivateForwardingWithClient:textInputOf([self client])];
}

- (void)commitComposition:(id)sender {
  if (!_controller) return;
  ImkTextClient client(textInputOf(sender));
  _controller->commitComposing(textInputOf(sender) != nil ? &client : nullptr);
}

- (NSMenu*)menu {
  if (!_controller) return [super menu];
  return ornav::mac_platform::menuFor(_controller->menu(), self);
}

- (void)perform:(ornav::InputMenuAction)action {
  if (_controller) _controller->perform(action);
}

- (void)showWelcomeEntry:(id)sender {
  [self perform:ornav::InputMenuAction::showWelcomeEntry];
}

- (void)showKeyMap:(id)sender {
  [self perform:ornav::InputMenuAction::showKeyMap];
}

- (void)showAbout:(id)sender {
  [self perform:ornav::InputMenuAction::showAbout];
}

- (void)toggleOnlineDict:(id)sender {
  [self perform:ornav::InputMenuAction::toggleOnlineDict];
}

- (void)toggleUploadConsent:(id)sender {
  [self perform:ornav::InputMenuAction::toggleUploadConsent];
}

- (void)togglePredictions:(id)sender {
  [self perform:ornav::InputMenuAction::togglePredictions];
}

- (void)toggleUlyLayout:(id)sender {
  [self perform:ornav::InputMenuAction::toggleUlyLayout];
}

- (void)checkUpdate:(id)sender {
  [self perform:ornav::InputMenuAction::checkUpdate];
}

- (void)sendFeedback:(id)sender {
  [self perform:ornav::InputMenuAction::sendFeedback];
}

// The client is going away: its controller, with its engine and its panel, goes at once rather
// than whenever InputMethodKit releases this object.
- (void)inputControllerWillClose {
  if (_controller) {
    _controller->setClient(nullptr);
    _controller.reset();
  }
  _currentClient.reset();
  [super inputControllerWillClose];
}

@end
