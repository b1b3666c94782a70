// The panel's geometry as plain arithmetic: cells of a row stand right to left, rows top to bottom
// inside an inset, and the window is placed next to the caret on the screen that holds it. The
// numbers are those of the stacks the panel is built from (a right-to-left horizontal stack per
// row with spacing 4, centred vertically; a vertical stack with spacing 2, trailing alignment in a
// right-to-left layout, insets 6), so a platform that draws the result needs no layout of its own.
#pragma once

#include <optional>
#include <vector>

#include "ports/geometry.h"
#include "ports/screens.h"

namespace ornav::panel_layout {

inline constexpr double kInset = 6;        // from every edge of the window to the rows
inline constexpr double kRowSpacing = 2;   // between two rows
inline constexpr double kCellSpacing = 4;  // between two cells of a row
inline constexpr double kCaretGap = 4;     // between the caret rectangle and the window

struct RowsLayout {
  // One frame per cell, row by row in the order given, in the content's coordinates (origin
  // bottom left).
  std::vector<Rect> cellFrames;
  // The content's fitting size: widest row + 2 insets by the rows, their spacing and 2 insets.
  Size contentSize;
};

// Lays out rows of cell sizes. The first cell of a row stands at the row's right end and the
// others follow leftwards; a row is as high as its highest cell and centres the others; rows run
// top to bottom; a row narrower than the widest stands at the content's left edge (the trailing
// side of a right-to-left stack). An empty row is 0 × 0 and still takes its spacing.
RowsLayout layOutRows(const std::vector<std::vector<Size>>& rows);

// The window's origin for a window of `size` next to the caret rectangle `caret` (screen
// coordinates, y up; its normalised bounds, as a client may give a negative width for
// right-to-left text). The screen is the first whose frame intersects the caret, else
// `mainScreen`; the window hangs below the caret, or stands above it when it would reach below
// the visible frame, and is then clamped into the visible frame horizontally, the right edge
// last. With no screen at all nothing is clamped.
Point placeWindow(const Size& size, const Rect& caret, const std::vector<Screen>& screens,
                  const std::optional<Screen>& mainScreen);

}  // namespace ornav::panel_layout
