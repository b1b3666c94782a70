// Qt key events in the form the controller and the dialogs receive them: macOS virtual key codes
// (ANSI positions) and modifier flag bits.
//
// Modifiers cross by role, not by name: the Linux user's Ctrl-C is the Mac user's Command-C, so
// Qt's Control is Command, Qt's Meta (the Super/Windows key; Control on a Mac keyboard under Qt)
// is Control and Alt is Option.
#pragma once

#include <QKeyEvent>
#include <cstdint>
#include <optional>

#include "ports/key_event.h"

namespace ornav::linux_platform {

// The key code of keys that have none on a Mac keyboard (no virtual key code is this large).
inline constexpr std::uint16_t kUnknownKeyCode = 0xFFFF;

// The Mac key code of a Qt key; `keypad` picks the keypad's keys for digits and operators.
std::optional<std::uint16_t> macKeyCode(int qtKey, bool keypad);

// Caps Lock is not among Qt's modifiers; where the native modifiers are X11's key state, its lock
// bit tells.
KeyEvent keyEventFromQt(const QKeyEvent& event, bool nativeModifiersAreX11);
// The same, asking the running platform whether its native modifiers are X11's.
KeyEvent keyEventFromQt(const QKeyEvent& event);

}  // namespace ornav::linux_platform
