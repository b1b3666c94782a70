// The ports' fonts, colours and texts as Qt's objects.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <string>

#include "ports/ui_types.h"

namespace ornav::linux_platform {

inline QString toQString(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string fromQString(const QString& text) {
  return text.toStdString();
}

// A font whose size in pixels on a device of `logicalDpi` equals the port's point size: the
// ports' points are the desktop's logical pixels, so the layout that the core computed from
// measured texts and the drawn texts agree on every device.
QFont toQFont(const Font& font, double logicalDpi);

// The dots per inch at which fonts are measured (a plain image's), for toQFont.
inline constexpr double kMeasuringDpi = 96;

// Role colours follow `palette` (the label colours are its window text at the usual strengths);
// the accent blue follows the palette's lightness.
QColor toQColor(const Color& color, const QPalette& palette);

}  // namespace ornav::linux_platform
