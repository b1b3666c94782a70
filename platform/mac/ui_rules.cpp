#include "platform/mac/ui_rules.h"

namespace ornav::mac_platform {

std::optional<int> panelCellAt(const PanelScene& scene, Point point) {
  for (int i = static_cast<int>(scene.cells.size()) - 1; i >= 0; --i) {
    const Rect& frame = scene.cells[static_cast<std::size_t>(i)].frame;
    if (point.x >= frame.minX() && point.x < frame.maxX() && point.y >= frame.minY() &&
        point.y < frame.maxY()) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<Rect> caretRect(const Rect& lineRectangle, const std::optional<Rect>& firstRect) {
  if (!lineRectangle.isZero()) return lineRectangle;
  if (firstRect && !firstRect->isZero()) return firstRect;
  return std::nullopt;
}

}  // namespace ornav::mac_platform
