#include "panel_layout.h"

#include <algorithm>

namespace ornav::panel_layout {

namespace {

struct RowMeasure {
  double width = 0;
  double height = 0;
};

RowMeasure measureRow(const std::vector<Size>& cells) {
  RowMeasure row;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) row.width += kCellSpacing;
    row.width += cells[i].width;
    row.height = std::max(row.height, cells[i].height);
  }
  return row;
}

}  // namespace

RowsLayout layOutRows(const std::vector<std::vector<Size>>& rows) {
  RowsLayout layout;
  std::vector<RowMeasure> measures;
  measures.reserve(rows.size());
  double widest = 0;
  double stacked = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    measures.push_back(measureRow(rows[r]));
    widest = std::max(widest, measures.back().width);
    if (r > 0) stacked += kRowSpacing;
    stacked += measures.back().height;
  }
  layout.contentSize = Size{widest + 2 * kInset, stacked + 2 * kInset};

  // y grows upwards, so the first row is placed from the top down.
  double rowTop = layout.contentSize.height - kInset;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const RowMeasure& row = measures[r];
    const double rowBottom = rowTop - row.height;
    // The row starts at the left inset; its last cell stands there and the first at its right
    // end. Walking from the left keeps the left edge exact, where rows of any width line up.
    std::vector<double> xs(rows[r].size());
    double left = kInset;
    for (std::size_t c = rows[r].size(); c-- > 0;) {
      xs[c] = left;
      left += rows[r][c].width + kCellSpacing;
    }
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const Size& cell = rows[r][c];
      const double y = rowBottom + (row.height - cell.height) / 2;
      layout.cellFrames.push_back(Rect{xs[c], y, cell.width, cell.height});
    }
    rowTop = rowBottom - kRowSpacing;
  }
  return layout;
}

Point placeWindow(const Size& size, const Rect& caret, const std::vector<Screen>& screens,
                  const std::optional<Screen>& mainScreen) {
  // Its bounds, whichever way the client measured it.
  const Rect near = caret.normalized();
  std::optional<Screen> screen;
  for (const Screen& candidate : screens) {
    if (candidate.frame.intersects(near)) {
      screen = candidate;
      break;
    }
  }
  if (!screen) screen = mainScreen;

  // The window's right edge lines up with the caret's, 4 points below it.
  Point origin{near.maxX() - size.width, near.minY() - size.height - kCaretGap};
  if (!screen) return origin;

  const Rect& visible = screen->visibleFrame;
  // Only the bottom is checked: the top of a window moved above the caret is left as it falls.
  if (origin.y < visible.minY()) origin.y = near.maxY() + kCaretGap;
  if (origin.x < visible.minX()) origin.x = visible.minX();
  // Applied last, so a window wider than the visible frame keeps its right edge on screen.
  if (origin.x + size.width > visible.maxX()) origin.x = visible.maxX() - size.width;
  return origin;
}

}  // namespace ornav::panel_layout
