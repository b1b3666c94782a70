// What a candidate panel works with: the ports it draws, measures, places and animates through,
// the bundle its font comes from, and the log. A host fills it from its platform once; tests fill
// it with fakes.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "ports/platform.h"

namespace ornav {

struct PanelEnvironment {
  WindowSystem* windows = nullptr;       // required: makes the panel's one window
  TextMeasurer* textMeasurer = nullptr;  // required: word widths and the word font
  MainQueue* mainQueue = nullptr;        // required: the marquee's timer
  Screens* screens = nullptr;            // null: no screen, the window is placed unclamped
  const Bundle* bundle = nullptr;        // null: no font resource, the fallback font is used
  std::function<void(const std::string& message)> log;  // empty: nothing is logged

  // The ports of `platform` and the given log.
  static PanelEnvironment fromPlatform(const Platform& platform,
                                       std::function<void(const std::string&)> log) {
    return PanelEnvironment{platform.windows, platform.textMeasurer, platform.mainQueue,
                            platform.screens, platform.bundle,       std::move(log)};
  }
};

}  // namespace ornav
