// The input controller class that InputMethodKit instantiates for each client (named in
// Info.plist as InputMethodServerControllerClass). Each one converts InputMethodKit's calls and
// forwards them to one portable OrnavInputController made from the process's shared environment;
// it decides nothing itself. Objective-C++ only.
#pragma once

#import <InputMethodKit/InputMethodKit.h>

#include <memory>

#include "core/controller_environment.h"
#import "platform/mac/input_menu.h"

// The methods of IMKInputController the class overrides. InputMethodKit calls several of them
// only if a method of that name exists (handleEvent:client: and commitComposition: belong to an
// informal protocol), so a misspelt override would compile as a method of its own that nothing
// calls. The class conforms to this protocol, which requires each method to be implemented in the
// class itself, and the compile check proves each name is one InputMethodKit declares.
__attribute__((objc_protocol_requires_explicit_implementation))
@protocol OrnavInputControllerOverrides
- (id)initWithServer:(IMKServer*)server delegate:(id)delegate client:(id)inputClient;
- (BOOL)handleEvent:(NSEvent*)event client:(id)sender;
- (void)activateServer:(id)sender;
- (void)deactivateServer:(id)sender;
- (void)commitComposition:(id)sender;
- (NSMenu*)menu;
- (void)inputControllerWillClose;
@end

// The Objective-C class; the portable controller is ornav::OrnavInputController.
@interface OrnavInputController
    : IMKInputController <OrnavInputControllerOverrides, OrnavInputMenuActions>
// Deactivates the controller that is active, if any, as InputMethodKit's deactivateServer: would
// (in the client it was active in); the later deactivateServer: of InputMethodKit is then ignored.
+ (void)deactivateActiveController;
@end

namespace ornav::mac_platform {

// The environment every controller of the process is made from; set once by main() before the
// server exists. Controllers made without one pass every event through.
void setControllerEnvironment(std::shared_ptr<ControllerEnvironment> environment);

}  // namespace ornav::mac_platform
