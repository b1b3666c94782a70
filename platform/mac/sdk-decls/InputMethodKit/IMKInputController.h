// Input controllers: one per client, created by the server. Key events arrive through one of
// the informal IMKServerInput methods (handleEvent:client: here); menu items of `menu` send their
// action to the controller with a dictionary naming the item (kIMKCommandMenuItemName).
#pragma once

#include <AppKit/AppKit.h>
#include <Carbon/Carbon.h>
#include <InputMethodKit/IMKServer.h>

APPKIT_EXTERN NSString *const kIMKCommandMenuItemName;
APPKIT_EXTERN NSString *const kIMKCommandClientName;

@protocol IMKStateSetting
- (void)activateServer:(id)sender;
- (void)deactivateServer:(id)sender;
// The NSEventMask of the events the controller wants.
- (NSUInteger)recognizedEvents:(id)sender;
@end

@interface NSObject (IMKServerInput)
- (BOOL)handleEvent:(NSEvent *)event client:(id)sender;
// Asked to end the composition now (the client is losing focus, or wants the text committed).
- (void)commitComposition:(id)sender;
@end

@interface IMKInputController : NSObject <IMKStateSetting>
- (id)initWithServer:(IMKServer *)server delegate:(id)delegate client:(id)inputClient;
- (NSMenu *)menu;
- (IMKServer *)server;
- (id<IMKTextInput, NSObject>)client;
// Called when the client goes away; the controller is released after it.
- (void)inputControllerWillClose;
@end
