#import "platform/mac/appkit_screens.h"

#import <AppKit/AppKit.h>

#import "platform/mac/appkit_values.h"

namespace ornav::mac_platform {

namespace {

Screen screenOf(NSScreen* screen) {
  return Screen{toRect(screen.frame), toRect(screen.visibleFrame)};
}

}  // namespace

std::vector<Screen> AppKitScreens::screens() const {
  std::vector<Screen> all;
  for (NSScreen* screen in NSScreen.screens) all.push_back(screenOf(screen));
  return all;
}

std::optional<Screen> AppKitScreens::mainScreen() const {
  NSScreen* screen = NSScreen.mainScreen;
  if (screen == nil) return std::nullopt;
  return screenOf(screen);
}

}  // namespace ornav::mac_platform
