// Where a window opens beside the program's own window, so that it covers none of what the user
// types in. Screen coordinates, origin bottom left.
#pragma once

#include <optional>

#include "ports/geometry.h"

namespace ornav {

// A frame of `size` inside `visible`, `gap` away from `owner`: on its right, else its left (top
// edges lined up), else below it, else above it (left edges lined up), each moved only as far as
// the visible frame needs. Where no side leaves the owner uncovered, the side that covers least
// of it. Absent when the window is larger than the visible frame.
std::optional<Rect> besideWindow(const Rect& owner, const Size& size, const Rect& visible,
                                 double gap = 12);

}  // namespace ornav
