// InputMethodKit: the server, the input controller and the client protocol.
#pragma once

#include <Carbon/Carbon.h>
#include <Cocoa/Cocoa.h>
#include <InputMethodKit/IMKInputController.h>
#include <InputMethodKit/IMKServer.h>
