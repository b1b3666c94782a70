// The displays from QScreen, in the ports' bottom-left convention: the primary screen's frame is
// (0, 0, width, height) and the others lie around it, y growing upwards.
#pragma once

#include <QRect>

#include "platform/linux/qt/flipped_space.h"
#include "ports/screens.h"

class QScreen;

namespace ornav::linux_platform {

// One display: its whole geometry and its available geometry (without panels and docks), both
// in Qt's virtual-desktop coordinates.
Screen screenFromQt(const QRect& geometry, const QRect& availableGeometry,
                    const FlippedSpace& desktop);

// The display the user works on: the one holding the window with the keyboard focus, else the
// primary one; null without a display.
QScreen* mainQScreen();

class QtScreens : public Screens {
 public:
  std::vector<Screen> screens() const override;
  std::optional<Screen> mainScreen() const override;
};

}  // namespace ornav::linux_platform
