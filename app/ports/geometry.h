// Plain geometry values shared by the ports. Screen coordinates have their origin at the bottom
// left of the primary screen and y grows upwards; a window's content coordinates have their origin
// at the bottom left of its content area.
#pragma once

namespace ornav {

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  double minX() const { return x; }
  double minY() const { return y; }
  double maxX() const { return x + width; }
  double maxY() const { return y + height; }
  bool isZero() const { return x == 0 && y == 0 && width == 0 && height == 0; }
  // The same area with a width and height that are not negative (a client may answer a
  // rectangle drawn leftwards, for right-to-left text).
  Rect normalized() const {
    Rect rect = *this;
    if (rect.width < 0) {
      rect.x += rect.width;
      rect.width = -rect.width;
    }
    if (rect.height < 0) {
      rect.y += rect.height;
      rect.height = -rect.height;
    }
    return rect;
  }
  // Overlap with a positive area; touching edges do not count.
  bool intersects(const Rect& other) const {
    return minX() < other.maxX() && other.minX() < maxX() && minY() < other.maxY() &&
           other.minY() < maxY();
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace ornav
