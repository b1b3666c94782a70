#include "dialogs/dialog_test_support.h"

#include <gtest/gtest.h>

namespace ornav::dialog_testing {

const AlertDescription& DialogFixture::lastAlert() const {
  static const AlertDescription none;
  EXPECT_FALSE(alerts.shown.empty()) << "no alert was shown";
  return alerts.shown.empty() ? none : alerts.shown.back();
}

bool DialogFixture::everyAlertActivated() const {
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].starts_with("alert ") && (i == 0 || events[i - 1] != "activate")) return false;
  }
  return true;
}

std::vector<std::pair<std::string, Rect>> controlFrames(const WindowDescription& window) {
  std::vector<std::pair<std::string, Rect>> frames;
  for (const ControlDescription& control : window.controls) {
    frames.emplace_back(control.name, control.frame);
  }
  return frames;
}

}  // namespace ornav::dialog_testing
