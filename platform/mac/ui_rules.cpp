#include "platform/mac/ui_rules.h"

#include <algorithm>
#include <utility>

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

std::int64_t panelWindowLevel(std::int64_t sceneLevel, std::optional<int> clientLevel) {
  if (!clientLevel) return sceneLevel;
  return std::max(sceneLevel, static_cast<std::int64_t>(*clientLevel) + 1);
}

void ActivationHandBack::activating(std::optional<int> frontmost, int self) {
  // While one of our own windows is in front, the application to return to stays the same.
  if (frontmost && *frontmost != self) previous_ = frontmost;
}

std::optional<int> ActivationHandBack::closed(bool windowsOpen) {
  if (windowsOpen) return std::nullopt;
  return std::exchange(previous_, std::nullopt);
}

}  // namespace ornav::mac_platform
