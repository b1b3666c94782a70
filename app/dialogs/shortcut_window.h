// Dialog windows route the standard editing shortcuts to their text fields themselves: the input
// method sets up no main menu, whose items would otherwise carry them.
#pragma once

#include <optional>
#include <string>

#include "ports/dialog_window.h"
#include "ports/key_event.h"

namespace ornav {

// The editing command for a key equivalent: Command with A, C, V, X or Z (select all, copy,
// paste, cut, undo) and Command-Shift-Z (redo). Any other modifier among the device-independent
// flags (Caps Lock, Option, Control, ...) leaves the key to the platform's usual handling.
std::optional<EditCommand> editingShortcut(const KeyEvent& event);

// The description every dialog window starts from: titled and closable, neither resizable nor
// miniaturizable, floating above the client application's windows, with the editing shortcuts.
WindowDescription shortcutWindow(std::string title, Size contentSize);

}  // namespace ornav
