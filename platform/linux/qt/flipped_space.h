// The one conversion between the ports' coordinates and Qt's.
//
// The ports measure from a bottom-left origin with y growing upwards: screen coordinates from the
// bottom left of the primary screen, a window's content coordinates from the bottom left of its
// content. Qt measures from the top left with y growing downwards: the virtual desktop from the
// primary screen's top left (usually), a widget from its own top left. A FlippedSpace knows where
// its bottom-left origin lies in Qt's coordinates; everything that crosses between the two
// conventions (panel frames, cell and label frames, dialog controls, screens) goes through it, so
// no other file does arithmetic on y.
#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

#include "ports/geometry.h"

namespace ornav::linux_platform {

class FlippedSpace {
 public:
  // A window's (or a cell's) content of the given height: origin at its bottom left.
  static FlippedSpace content(double height) { return FlippedSpace(0, height); }
  // A rectangle drawn inside a container: content of the rectangle's height, placed at its
  // top left.
  static FlippedSpace inside(const QRectF& container) {
    return FlippedSpace(container.x(), container.y() + container.height());
  }
  // The screens, given the primary screen's geometry in Qt's virtual-desktop coordinates: the
  // primary screen's frame becomes (0, 0, width, height).
  static FlippedSpace screens(const QRect& primaryGeometry) {
    return FlippedSpace(primaryGeometry.x(),
                        double(primaryGeometry.y()) + primaryGeometry.height());
  }
  // The screens of the running application (an 0-high space at Qt's origin without a screen).
  static FlippedSpace desktop();

  QRectF toQt(const Rect& rect) const {
    return QRectF(originX_ + rect.x, originY_ - (rect.y + rect.height), rect.width, rect.height);
  }
  Rect fromQt(const QRectF& rect) const {
    return Rect{rect.x() - originX_, originY_ - (rect.y() + rect.height()), rect.width(),
                rect.height()};
  }
  QPointF toQt(const Point& point) const { return QPointF(originX_ + point.x, originY_ - point.y); }
  Point fromQt(const QPointF& point) const {
    return Point{point.x() - originX_, originY_ - point.y()};
  }

 private:
  FlippedSpace(double originX, double originY) : originX_(originX), originY_(originY) {}
  // Where this space's origin (its bottom left) lies in Qt's coordinates.
  double originX_;
  double originY_;
};

}  // namespace ornav::linux_platform
