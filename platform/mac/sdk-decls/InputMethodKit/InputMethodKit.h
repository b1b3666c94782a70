// InputMethodKit: the server, the input controller and the client protocol.
#pragma once

#include <Cocoa/Cocoa.h>
#include <HIToolbox/IMKInputSession.h>
#include <InputMethodKit/IMKInputController.h>
#include <InputMethodKit/IMKServer.h>
