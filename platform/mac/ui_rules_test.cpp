// A click reaches the cell under it and no other; the caret is found even where a client leaves
// its line rectangle empty; the panel floats above its client; the keyboard goes back to where the
// user was typing.
#include "platform/mac/ui_rules.h"

#include <gtest/gtest.h>

namespace ornav::mac_platform {
namespace {

PanelScene sceneWithCells(std::initializer_list<Rect> frames) {
  PanelScene scene;
  for (const Rect& frame : frames) {
    PanelCell cell;
    cell.frame = frame;
    scene.cells.push_back(cell);
  }
  return scene;
}

TEST(PanelCellAt, TheCellUnderThePoint) {
  // Two cells side by side in a row, a second row below.
  const PanelScene scene = sceneWithCells({{6, 30, 40, 24}, {50, 30, 40, 24}, {6, 4, 40, 24}});
  EXPECT_EQ(panelCellAt(scene, {10, 40}), 0);
  EXPECT_EQ(panelCellAt(scene, {89.5, 53.9}), 1);
  EXPECT_EQ(panelCellAt(scene, {6, 4}), 2);
  EXPECT_EQ(panelCellAt(scene, {48, 40}), std::nullopt);  // the gap between cells
  EXPECT_EQ(panelCellAt(scene, {2, 2}), std::nullopt);    // the panel's inset
}

TEST(PanelCellAt, SharedEdgesBelongToOneCellOnly) {
  const PanelScene scene = sceneWithCells({{0, 0, 10, 10}, {10, 0, 10, 10}, {0, 10, 10, 10}});
  EXPECT_EQ(panelCellAt(scene, {10, 5}), 1);
  EXPECT_EQ(panelCellAt(scene, {5, 10}), 2);
  EXPECT_EQ(panelCellAt(scene, {20, 5}), std::nullopt);
}

TEST(PanelCellAt, TheLastDrawnCellWinsWhereCellsOverlap) {
  const PanelScene scene = sceneWithCells({{0, 0, 100, 20}, {50, 0, 30, 20}});
  EXPECT_EQ(panelCellAt(scene, {60, 10}), 1);
  EXPECT_EQ(panelCellAt(scene, {40, 10}), 0);
  EXPECT_EQ(panelCellAt(PanelScene{}, {0, 0}), std::nullopt);
}

TEST(CaretRect, TheLineRectangleWhenTheClientFillsItIn) {
  const Rect line{300, 500, 2, 18};
  EXPECT_EQ(caretRect(line, Rect{1, 1, 1, 1}), line);
  EXPECT_EQ(caretRect(line, std::nullopt), line);
  // A rectangle at the origin of the screen is still a rectangle.
  EXPECT_EQ(caretRect(Rect{0, 0, 0, 18}, std::nullopt), (Rect{0, 0, 0, 18}));
}

TEST(CaretRect, TheFirstRectangleOfTheRangeWhenTheLineRectangleIsEmpty) {
  EXPECT_EQ(caretRect(Rect{}, Rect{120, 640, 0, 17}), (Rect{120, 640, 0, 17}));
  EXPECT_EQ(caretRect(Rect{}, Rect{}), std::nullopt);
  EXPECT_EQ(caretRect(Rect{}, std::nullopt), std::nullopt);
}

TEST(PanelWindowLevel, OneAboveAClientThatFloatsAsHighOrHigher) {
  struct Row {
    std::optional<int> client;
    std::int64_t level;
  };
  for (const Row& row : std::initializer_list<Row>{
           {std::nullopt, 101}, {0, 101}, {100, 101}, {101, 102}, {2000, 2001}, {-20, 101}}) {
    EXPECT_EQ(panelWindowLevel(101, row.client), row.level) << row.client.value_or(-1);
  }
  EXPECT_EQ(panelWindowLevel(101, INT32_MAX), std::int64_t{INT32_MAX} + 1);
}

TEST(ActivationHandBack, TheApplicationTypedInGetsTheKeyboardOnceTheLastWindowCloses) {
  ActivationHandBack handBack;
  handBack.activating(300, 7);
  handBack.activating(7, 7);  // a second dialog while ours is in front
  EXPECT_EQ(handBack.closed(true), std::nullopt);
  EXPECT_EQ(handBack.closed(false), 300);
  EXPECT_EQ(handBack.closed(false), std::nullopt);  // once only
  handBack.activating(300, 7);
  handBack.activating(400, 7);  // the user typed elsewhere before the next alert
  EXPECT_EQ(handBack.closed(false), 400);
}

TEST(ActivationHandBack, NothingWhenTheUserMovedOnOrNoApplicationWasActive) {
  ActivationHandBack handBack;
  handBack.activating(300, 7);
  handBack.resigned();
  EXPECT_EQ(handBack.closed(false), std::nullopt);
  handBack.activating(std::nullopt, 7);
  EXPECT_EQ(handBack.closed(false), std::nullopt);
}

}  // namespace
}  // namespace ornav::mac_platform
