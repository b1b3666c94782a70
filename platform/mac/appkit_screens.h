// The displays (NSScreen): frames and visible frames in the global screen space.
#pragma once

#include <optional>
#include <vector>

#include "ports/screens.h"

namespace ornav::mac_platform {

class AppKitScreens final : public Screens {
 public:
  // NSScreen.screens, whose first element is the display with the menu bar.
  std::vector<Screen> screens() const override;
  std::optional<Screen> mainScreen() const override;
};

}  // namespace ornav::mac_platform
