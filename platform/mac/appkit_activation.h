// The input method's activation for its alerts and dialogs, and the keyboard handed back to the
// application the user was typing in once they are closed (ActivationHandBack in ui_rules.h
// decides to whom). Objective-C++ only.
#pragma once

namespace ornav::mac_platform {

// Brings the input method to the front (it is not the active application while the user types),
// noting the application that was active.
void activateInputMethod();

// For an alert or dialog that has closed: right after, on the main queue (with its window off
// screen), the application noted gets the keyboard back, unless another alert or dialog of the
// input method is open or the user has gone to another application meanwhile.
void handBackActivationSoon();

}  // namespace ornav::mac_platform
