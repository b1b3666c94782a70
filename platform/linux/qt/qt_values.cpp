#include "platform/linux/qt/qt_values.h"

#include <QFontDatabase>
#include <algorithm>

namespace ornav::linux_platform {

QFont toQFont(const Font& font, double logicalDpi) {
  QFont result = font.name.empty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                   : QFont(toQString(font.name));
  const double dpi = logicalDpi > 0 ? logicalDpi : kMeasuringDpi;
  // Qt rejects sizes that are not positive; a hair keeps such a font drawable.
  const double pixels = std::max(font.pointSize, 0.01);
  result.setPointSizeF(pixels * 72.0 / dpi);
  result.setBold(font.bold);
  return result;
}

QColor toQColor(const Color& color, const QPalette& palette) {
  const double alpha = std::clamp(color.alpha, 0.0, 1.0);
  auto fromLabel = [&](double strength) {
    QColor text = palette.color(QPalette::Active, QPalette::WindowText);
    text.setAlphaF(float(text.alphaF() * strength * alpha));
    return text;
  };
  switch (color.role) {
    case Color::Role::custom:
      return QColor::fromRgbF(float(std::clamp(color.red, 0.0, 1.0)),
                              float(std::clamp(color.green, 0.0, 1.0)),
                              float(std::clamp(color.blue, 0.0, 1.0)), float(alpha));
    case Color::Role::clear:
      return QColor(Qt::transparent);
    case Color::Role::label:
      return fromLabel(1.0);
    case Color::Role::secondaryLabel:
      return fromLabel(0.55);
    case Color::Role::tertiaryLabel:
      return fromLabel(0.26);
    case Color::Role::systemBlue: {
      // The accent blue is a shade lighter on a dark appearance.
      const bool dark = palette.color(QPalette::Active, QPalette::Window).lightnessF() < 0.5;
      QColor blue = dark ? QColor(10, 132, 255) : QColor(0, 122, 255);
      blue.setAlphaF(float(alpha));
      return blue;
    }
  }
  return QColor(Qt::transparent);
}

}  // namespace ornav::linux_platform
