// The panel's arithmetic: rows right to left inside the inset, rows top to bottom, narrower rows
// at the left, and the window's place next to the caret on the screen that holds it.
#include "panel/panel_layout.h"

#include <gtest/gtest.h>

namespace ornav::panel_layout {
namespace {

const Screen kScreen{{0, 0, 1440, 900}, {0, 0, 1440, 875}};

TEST(PanelRows, OneRowRunsRightToLeftInsideTheInset) {
  const RowsLayout layout = layOutRows({{{40, 20}, {30, 20}, {50, 20}}});
  // 40 + 4 + 30 + 4 + 50 = 128 wide, 20 high, 6 on every side.
  EXPECT_EQ(layout.contentSize, (Size{140, 32}));
  ASSERT_EQ(layout.cellFrames.size(), 3u);
  EXPECT_EQ(layout.cellFrames[0], (Rect{94, 6, 40, 20}));  // the first at the right end
  EXPECT_EQ(layout.cellFrames[1], (Rect{60, 6, 30, 20}));
  EXPECT_EQ(layout.cellFrames[2], (Rect{6, 6, 50, 20}));
}

TEST(PanelRows, ARowIsAsHighAsItsHighestCellAndCentresTheOthers) {
  const RowsLayout layout = layOutRows({{{40, 30}, {20, 20}}});
  EXPECT_EQ(layout.contentSize, (Size{76, 42}));
  EXPECT_EQ(layout.cellFrames[0], (Rect{30, 6, 40, 30}));
  EXPECT_EQ(layout.cellFrames[1], (Rect{6, 11, 20, 20}));
}

TEST(PanelRows, RowsRunTopToBottomAndANarrowerRowStandsAtTheLeft) {
  const RowsLayout layout = layOutRows({{{96, 20}, {96, 20}}, {{96, 24}}, {{96, 20}}});
  // Widest 196; heights 20 + 2 + 24 + 2 + 20 = 68.
  EXPECT_EQ(layout.contentSize, (Size{208, 80}));
  ASSERT_EQ(layout.cellFrames.size(), 4u);
  EXPECT_EQ(layout.cellFrames[0], (Rect{106, 54, 96, 20}));
  EXPECT_EQ(layout.cellFrames[1], (Rect{6, 54, 96, 20}));
  EXPECT_EQ(layout.cellFrames[2], (Rect{6, 28, 96, 24}));
  EXPECT_EQ(layout.cellFrames[3], (Rect{6, 6, 96, 20}));
}

TEST(PanelRows, AnEmptyRowStillTakesItsSpacing) {
  const RowsLayout layout = layOutRows({{{10, 10}}, {}, {{10, 10}}});
  EXPECT_EQ(layout.contentSize, (Size{22, 36}));
  EXPECT_EQ(layout.cellFrames[0], (Rect{6, 20, 10, 10}));
  EXPECT_EQ(layout.cellFrames[1], (Rect{6, 6, 10, 10}));
}

TEST(PanelPlacement, HangsFourPointsBelowTheCaretWithTheRightEdgesAligned) {
  const Point origin = placeWindow({100, 40}, {500, 400, 2, 18}, {kScreen}, kScreen);
  EXPECT_EQ(origin, (Point{402, 356}));
}

TEST(PanelPlacement, NearTheBottomItStandsFourPointsAboveTheCaret) {
  // 20 - 40 - 4 < 0: above, at 20 + 18 + 4.
  EXPECT_EQ(placeWindow({100, 40}, {500, 20, 2, 18}, {kScreen}, kScreen), (Point{402, 42}));
  // Exactly at the visible frame's bottom is still inside: it stays below.
  EXPECT_EQ(placeWindow({100, 40}, {500, 44, 2, 18}, {kScreen}, kScreen), (Point{402, 0}));
  // One point below it is not.
  EXPECT_EQ(placeWindow({100, 40}, {500, 43, 2, 18}, {kScreen}, kScreen), (Point{402, 65}));
  // The top is not checked after moving up.
  const Screen low{{0, 0, 1440, 50}, {0, 10, 1440, 40}};
  EXPECT_EQ(placeWindow({100, 40}, {500, 20, 2, 18}, {low}, low), (Point{402, 42}));
}

TEST(PanelPlacement, ClampedToTheVisibleFrameLeftThenRight) {
  const Screen screen{{0, 0, 1440, 900}, {50, 0, 1300, 875}};
  // Left edge: x = 60 - 100 < 50.
  EXPECT_EQ(placeWindow({100, 40}, {58, 400, 2, 18}, {screen}, screen), (Point{50, 356}));
  // Right edge: 1420 - 100 + 100 > 1350.
  EXPECT_EQ(placeWindow({100, 40}, {1400, 400, 20, 18}, {screen}, screen), (Point{1250, 356}));
  // Wider than the visible frame: the right edge wins.
  EXPECT_EQ(placeWindow({1400, 40}, {58, 400, 2, 18}, {screen}, screen), (Point{-50, 356}));
}

TEST(PanelPlacement, TheScreenIsTheFirstThatHoldsTheCaret) {
  const Screen left{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
  const Screen right{{1440, 0, 1280, 800}, {1440, 100, 1280, 700}};
  // On the right screen near its bottom: its visible frame (from y 100) sends the window up.
  EXPECT_EQ(placeWindow({100, 40}, {1500, 120, 2, 18}, {left, right}, left), (Point{1440, 142}));
  // The same caret measured against the main screen would have stayed below and unclamped.
  EXPECT_EQ(placeWindow({100, 40}, {1500, 120, 2, 18}, {left}, left), (Point{1340, 76}));
  // In the right screen's dock strip (inside its frame, outside its visible frame): still there.
  EXPECT_EQ(placeWindow({100, 40}, {1500, 20, 2, 18}, {left, right}, left), (Point{1440, 42}));
  // Across the boundary: the first screen listed wins.
  EXPECT_EQ(placeWindow({100, 40}, {1430, 400, 20, 18}, {left, right}, left), (Point{1340, 356}));
}

TEST(PanelPlacement, ACaretOnNoScreenGoesToTheMainScreen) {
  const Screen left{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
  const Screen right{{1440, 0, 1280, 800}, {1440, 100, 1280, 700}};
  // Far off both screens: clamped into the main (right) screen's visible frame.
  EXPECT_EQ(placeWindow({100, 40}, {5000, 20, 2, 18}, {left, right}, right), (Point{2620, 42}));
  // Touching a screen's edge is not on it.
  EXPECT_EQ(placeWindow({100, 40}, {1440, 400, 0, 18}, {right, left}, right), (Point{1440, 356}));
}

TEST(PanelPlacement, WithoutAnyScreenNothingIsClamped) {
  EXPECT_EQ(placeWindow({100, 40}, {20, 10, 2, 18}, {}, std::nullopt), (Point{-78, -34}));
  // Screens that do not hold the caret and no main screen: unclamped too.
  EXPECT_EQ(placeWindow({100, 40}, {-500, 10, 2, 18}, {kScreen}, std::nullopt), (Point{-598, -34}));
}

TEST(PanelPlacement, ACaretMeasuredLeftwardsOrDownwardsPlacesAsItsBounds) {
  // Both rectangles cover x 498...500, y 400...418.
  const Screen left{{0, 0, 1440, 900}, {0, 0, 1440, 900}};
  const Screen right{{1440, 0, 1440, 900}, {1440, 0, 1440, 900}};
  for (const Rect& caret : {Rect{500, 400, -2, 18}, Rect{498, 418, 2, -18}}) {
    EXPECT_EQ(placeWindow({100, 40}, caret, {kScreen}, kScreen), (Point{400, 356}));
  }
  // x 1438...1442 reaches into the left screen, which is chosen and clamps the window.
  EXPECT_EQ(placeWindow({100, 40}, {1442, 400, -4, 18}, {left, right}, right), (Point{1340, 356}));
}

}  // namespace
}  // namespace ornav::panel_layout
