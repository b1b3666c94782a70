// Small rules of the macOS user-interface ports that need no AppKit, kept apart so they are tested
// everywhere: which cell of a panel scene a click lands on, and which of a client's answers is its
// caret rectangle.
#pragma once

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

}  // namespace ornav::mac_platform
