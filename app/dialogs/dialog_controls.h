// The building blocks every dialog window is made of, with the looks the dialogs share.
#pragma once

#include <optional>
#include <string>

#include "ports/dialog_window.h"

namespace ornav::dialog_controls {

inline Color secondaryText() {
  return Color::ofRole(Color::Role::secondaryLabel);
}
inline Color tertiaryText() {
  return Color::ofRole(Color::Role::tertiaryLabel);
}

// Fixed text: word-wrapped over as many lines as fit, not editable or selectable.
ControlDescription label(std::string name, Rect frame, std::string text, Font font,
                         std::optional<Color> color = std::nullopt,
                         TextAlignment alignment = TextAlignment::left);

// A rounded push button reporting `action`.
ControlDescription button(std::string name, Rect frame, std::string title, DialogAction action,
                          std::string keyEquivalent = {});

}  // namespace ornav::dialog_controls
