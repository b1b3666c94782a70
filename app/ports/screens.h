// The displays, for placing the candidate panel next to the caret.
#pragma once

#include <optional>
#include <vector>

#include "ports/geometry.h"

namespace ornav {

struct Screen {
  Rect frame;         // the whole display, screen coordinates
  Rect visibleFrame;  // without menu bar and dock
  friend bool operator==(const Screen&, const Screen&) = default;
};

class Screens {
 public:
  virtual ~Screens() = default;
  // Every display, the primary (menu bar) display first; empty when there is none.
  virtual std::vector<Screen> screens() const = 0;
  // The display that holds the active window; absent when there is no display.
  virtual std::optional<Screen> mainScreen() const = 0;
};

}  // namespace ornav
