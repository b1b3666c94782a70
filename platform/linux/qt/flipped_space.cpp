#include "platform/linux/qt/flipped_space.h"

#include <QGuiApplication>
#include <QScreen>

namespace ornav::linux_platform {

FlippedSpace FlippedSpace::desktop() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return screens(primary != nullptr ? primary->geometry() : QRect());
}

}  // namespace ornav::linux_platform
