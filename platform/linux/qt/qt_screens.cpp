#include "platform/linux/qt/qt_screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace ornav::linux_platform {

namespace {

Screen toScreen(const QScreen& screen) {
  return screenFromQt(screen.geometry(), screen.availableGeometry(), FlippedSpace::desktop());
}

}  // namespace

Screen screenFromQt(const QRect& geometry, const QRect& availableGeometry,
                    const FlippedSpace& desktop) {
  return Screen{desktop.fromQt(QRectF(geometry)), desktop.fromQt(QRectF(availableGeometry))};
}

QScreen* mainQScreen() {
  if (const QWindow* focus = QGuiApplication::focusWindow()) {
    if (QScreen* screen = focus->screen()) return screen;
  }
  return QGuiApplication::primaryScreen();
}

std::vector<Screen> QtScreens::screens() const {
  std::vector<Screen> result;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) return result;
  result.push_back(toScreen(*primary));
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) result.push_back(toScreen(*screen));
  }
  return result;
}

std::optional<Screen> QtScreens::mainScreen() const {
  const QScreen* screen = mainQScreen();
  if (screen == nullptr) return std::nullopt;
  return toScreen(*screen);
}

}  // namespace ornav::linux_platform
