// Small rules of the macOS user-interface ports that need no AppKit, kept apart so they are tested
// everywhere: which cell of a panel scene a click lands on, which of a client's answers is its
// caret rectangle, the level of the panel's window, and which application gets the keyboard back
// after an alert or dialog.
#pragma once

#include <cstdint>
#include <optional>

#include "ports/geometry.h"
#include "ports/panel_window.h"

namespace ornav::mac_platform {

// The index of the cell under `point` (content coordinates); the last one drawn wins where cells
// overlap. A point on a cell's left or bottom edge is inside it, one on its right or top edge is
// not, so neighbouring cells never both claim a point.
std::optional<int> panelCellAt(const PanelScene& scene, Point point);

// The caret's line rectangle from a client's two answers: the line rectangle of the character
// (which some clients leave all zero, notably at index 0 of an empty field), else the first
// rectangle of the range (a zero width is a caret there), else none.
std::optional<Rect> caretRect(const Rect& lineRectangle, const std::optional<Rect>& firstRect);

// The level of the candidate panel's window: its scene's own (`sceneLevel`), or one above the
// client's window where that floats as high or higher, so that the panel never hides behind the
// window it serves. InputMethodKit asks input methods to place their windows so.
std::int64_t panelWindowLevel(std::int64_t sceneLevel, std::optional<int> clientLevel);

// Which application gets the keyboard back after an alert or dialog of the input method closes.
// The input method is brought to the front to show them (it is not the active application while
// the user types); once the last of them is closed, the application that was active before gets
// the keyboard back, unless the user has meanwhile gone to another application. Applications
// are process identifiers.
class ActivationHandBack {
 public:
  // The input method is being brought to the front while `frontmost` is the active application.
  void activating(std::optional<int> frontmost, int self);
  // The input method is no longer the active application.
  void resigned() { previous_.reset(); }
  // An alert or dialog closed: the application to activate, once; none while `windowsOpen` (some
  // other alert or dialog of the input method is still on screen).
  std::optional<int> closed(bool windowsOpen);

 private:
  std::optional<int> previous_;
};

}  // namespace ornav::mac_platform
