// A window opened beside the program's own: the first side with room, moved into the screen, and
// the side covering least of the owner when none has room.
#include "dialogs/window_placement.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

TEST(BesideWindow, FirstSideWithRoomElseTheLeastCovering) {
  const Rect screen{0, 0, 1280, 800};
  const Size size{470, 200};
  struct Row {
    const char* name;
    Rect owner;
    std::optional<Rect> expected;
  };
  const std::vector<Row> rows = {
      {"right, tops lined up", {0, 380, 640, 420}, Rect{652, 600, 470, 200}},
      {"right fits exactly", {0, 380, 798, 420}, Rect{810, 600, 470, 200}},
      {"no room on the right: left", {500, 380, 320, 420}, Rect{18, 600, 470, 200}},
      {"a tall owner low down: top moved into the screen",
       {0, 0, 640, 100},
       Rect{652, 0, 470, 200}},
      {"no room beside: below, left edges lined up", {400, 300, 640, 420}, Rect{400, 88, 470, 200}},
      {"no room below: above", {400, 0, 640, 420}, Rect{400, 432, 470, 200}},
      {"no room anywhere: below, covering least", {320, 160, 640, 480}, Rect{320, 0, 470, 200}},
      {"larger than the screen", {0, 0, 10, 10}, std::nullopt},
  };
  for (const Row& row : rows) {
    const Size asked = row.expected ? size : Size{1300, 200};
    EXPECT_EQ(besideWindow(row.owner, asked, screen), row.expected) << row.name;
  }
}

}  // namespace
}  // namespace ornav
