// IBus key events in the form the controller receives them. IBus hands the engine an X keysym,
// the hardware key code and the modifier state (X11's bits plus IBus's own); the keysym names the
// key as the keyboard layout produced it, so it goes through the same table as the Qt keys of the
// typing pad (platform/linux/qt/qt_key_event.h): one table of Mac key codes, one rule for which
// modifier plays which role (Control is Command, Super is Control, Alt is Option).
#pragma once

#include <cstdint>

#include "ports/key_event.h"

namespace ornav::linux_platform {

// `keyval` is the keysym, `state` the IBus modifier state (IBUS_RELEASE_MASK marks a release).
KeyEvent keyEventFromIBus(std::uint32_t keyval, std::uint32_t state);

}  // namespace ornav::linux_platform
