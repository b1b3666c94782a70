// A misspelt override of InputMethodKit's controller fails to compile instead of leaving the
// method of InputMethodKit's name unimplemented: the controller class is declared to conform to
// OrnavInputControllerOverrides, which every controller must implement in the class itself.
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#import "platform/mac/imk_input_controller.h"

// The controller class itself makes that promise.
id<OrnavInputControllerOverrides> overridesOf(OrnavInputController* controller);
id<OrnavInputControllerOverrides> overridesOf(OrnavInputController* controller) { return controller; }

@interface MisspeltController : IMKInputController <OrnavInputControllerOverrides>
@end

@implementation MisspeltController  // expected-error {{method 'handleEvent:client:' in protocol 'OrnavInputControllerOverrides' not implemented}} expected-error {{method 'commitComposition:' in protocol 'OrnavInputControllerOverrides' not implemented}}
- (id)initWithServer:(IMKServer*)server delegate:(id)delegate client:(id)inputClient {
  return [super initWithServer:server delegate:delegate client:inputClient];
}
- (BOOL)handleEvent:(NSEvent*)event clinet:(id)sender { return event != nil && sender != nil; }
- (void)activateServer:(id)sender { [super activateServer:sender]; }
- (void)deactivateServer:(id)sender { [super deactivateServer:sender]; }
- (void)commitCompostion:(id)sender { (void)sender; }
- (NSMenu*)menu { return [super menu]; }
- (void)inputControllerWillClose { [super inputControllerWillClose]; }
@end
