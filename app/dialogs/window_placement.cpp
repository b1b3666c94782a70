#include "dialogs/window_placement.h"

#include <algorithm>
#include <array>

namespace ornav {

namespace {

// `position` moved into [low, high - length]; when it cannot fit, `low`.
double clampInto(double position, double length, double low, double high) {
  return std::max(low, std::min(position, high - length));
}

double overlapArea(const Rect& a, const Rect& b) {
  const double width = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
  const double height = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
  return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

std::optional<Rect> besideWindow(const Rect& owner, const Size& size, const Rect& visible,
                                 double gap) {
  if (size.width > visible.width || size.height > visible.height) return std::nullopt;
  const double visibleRight = visible.x + visible.width;
  const double visibleTop = visible.y + visible.height;
  const double ownerTop = owner.y + owner.height;
  const double besideY = clampInto(ownerTop - size.height, size.height, visible.y, visibleTop);
  const double stackedX = clampInto(owner.x, size.width, visible.x, visibleRight);
  // Right, left, below, above; each moved inside the visible frame.
  const std::array<Rect, 4> sides = {
      Rect{clampInto(owner.x + owner.width + gap, size.width, visible.x, visibleRight), besideY,
           size.width, size.height},
      Rect{clampInto(owner.x - gap - size.width, size.width, visible.x, visibleRight), besideY,
           size.width, size.height},
      Rect{stackedX, clampInto(owner.y - gap - size.height, size.height, visible.y, visibleTop),
           size.width, size.height},
      Rect{stackedX, clampInto(ownerTop + gap, size.height, visible.y, visibleTop), size.width,
           size.height},
  };
  // The first side that leaves the owner uncovered; on a screen too small for that, the one that
  // covers the least of it.
  return *std::min_element(sides.begin(), sides.end(), [&](const Rect& a, const Rect& b) {
    return overlapArea(a, owner) < overlapArea(b, owner);
  });
}

}  // namespace ornav
