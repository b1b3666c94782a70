#include "core/candidate_grid.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

CandidateGrid gridOf(int count) {
  CandidateGrid grid;
  std::vector<std::string> words;
  for (int i = 0; i < count; ++i)
    words.push_back("w" + std::to_string(i));
  grid.replace(words);
  return grid;
}

TEST(CandidateGridRows, CutsIntoRowsOfFiveAndStopsAtTwentyFive) {
  EXPECT_TRUE(gridOf(0).grid().empty());
  EXPECT_EQ(gridOf(3).grid().size(), 1u);
  const auto rows = gridOf(12).grid();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2], (std::vector<std::string>{"w10", "w11"}));
  const auto full = gridOf(30).grid();
  ASSERT_EQ(full.size(), 5u);
  EXPECT_EQ(full[4].back(), "w24");
  EXPECT_EQ(gridOf(30).reachable(), 25);
}

TEST(CandidateGridReplace, CollapsesAndHighlightsTheBest) {
  CandidateGrid grid = gridOf(7);
  grid.expanded = true;
  grid.highlight = 6;
  grid.replace({"a", "b"});
  EXPECT_FALSE(grid.expanded);
  EXPECT_EQ(grid.highlight, 0);
  grid.replace({});
  EXPECT_EQ(grid.highlight, -1);
}

TEST(CandidateGridTab, TwelveCandidatesVisitRowsTwoThreeOne) {
  CandidateGrid grid = gridOf(12);
  grid.tabStep();
  EXPECT_TRUE(grid.expanded);
  EXPECT_EQ(grid.highlight, 5);
  grid.tabStep();
  EXPECT_EQ(grid.highlight, 10);
  grid.tabStep();
  EXPECT_EQ(grid.highlight, 0);
}

TEST(CandidateGridTab, OneRowExpandsAndHighlightsFirst) {
  CandidateGrid grid = gridOf(3);
  grid.highlight = 2;
  grid.tabStep();
  EXPECT_TRUE(grid.expanded);
  EXPECT_EQ(grid.highlight, 0);
  grid.tabStep();  // one row: wraps onto itself
  EXPECT_EQ(grid.highlight, 0);
}

TEST(CandidateGridTab, ExpandedWithoutHighlightStartsFromRowOne) {
  CandidateGrid grid = gridOf(12);
  grid.expanded = true;
  grid.highlight = -1;
  grid.tabStep();
  EXPECT_EQ(grid.highlight, 5);
}

TEST(CandidateGridTab, ExpandedWithNoRowsChangesNothing) {
  CandidateGrid grid;
  grid.expanded = true;
  grid.tabStep();
  EXPECT_EQ(grid.highlight, -1);
  EXPECT_TRUE(grid.expanded);
}

TEST(CandidateGridTab, LastRowShortWrapsToTheLastReachable) {
  CandidateGrid grid = gridOf(30);  // 25 reachable, five full rows
  grid.expanded = true;
  grid.highlight = 17;
  grid.tabStep();
  EXPECT_EQ(grid.highlight, 20);
  grid.tabStep();
  EXPECT_EQ(grid.highlight, 0);
}

TEST(CandidateGridMove, ClampsAtBothEnds) {
  CandidateGrid grid = gridOf(30);
  grid.highlight = 24;
  EXPECT_TRUE(grid.moveHighlight(+1));
  EXPECT_EQ(grid.highlight, 24);
  grid.highlight = 0;
  grid.moveHighlight(-1);
  EXPECT_EQ(grid.highlight, 0);
  grid.highlight = -1;
  grid.moveHighlight(-1);
  EXPECT_EQ(grid.highlight, 0);
}

TEST(CandidateGridMove, LeavingRowOneExpandsAndComingBackKeepsExpanded) {
  CandidateGrid grid = gridOf(7);
  grid.moveHighlight(+5);
  EXPECT_EQ(grid.highlight, 5);
  EXPECT_TRUE(grid.expanded);
  grid.moveHighlight(-5);
  EXPECT_EQ(grid.highlight, 0);
  EXPECT_TRUE(grid.expanded);
}

TEST(CandidateGridMove, NothingToMoveOnIsReported) {
  CandidateGrid grid;
  EXPECT_FALSE(grid.moveHighlight(+1));
  EXPECT_EQ(grid.highlight, -1);
}

TEST(CandidateGridDigits, PickFromTheHighlightedRow) {
  CandidateGrid grid = gridOf(12);
  EXPECT_EQ(grid.indexInRow(2), 2);
  grid.highlight = 10;  // row 3
  EXPECT_EQ(grid.indexInRow(1), 11);
  EXPECT_EQ(grid.indexInRow(2), std::nullopt);  // candidate 12 does not exist
  grid.highlight = -1;
  EXPECT_EQ(grid.indexInRow(4), 4);
}

TEST(CandidateGridPanel, CollapsedShowsRowOneWithHint) {
  CandidateGrid grid = gridOf(7);
  auto content = grid.panelContent();
  ASSERT_TRUE(content);
  EXPECT_EQ(content->rows.size(), 1u);
  EXPECT_EQ(content->activeRow, 0);
  EXPECT_EQ(content->activeCol, 0);
  EXPECT_TRUE(content->showTabHint);
  EXPECT_FALSE(gridOf(5).panelContent()->showTabHint);
}

TEST(CandidateGridPanel, CollapsedWithHighlightOutsideRowOneHasNoActiveColumn) {
  CandidateGrid grid = gridOf(7);
  grid.highlight = 6;
  auto content = grid.panelContent();
  EXPECT_EQ(content->activeRow, 0);
  EXPECT_EQ(content->activeCol, -1);
}

TEST(CandidateGridPanel, ExpandedShowsAllRowsWithoutHint) {
  CandidateGrid grid = gridOf(12);
  grid.expanded = true;
  grid.highlight = 7;
  auto content = grid.panelContent();
  EXPECT_EQ(content->rows.size(), 3u);
  EXPECT_EQ(content->activeRow, 1);
  EXPECT_EQ(content->activeCol, 2);
  EXPECT_FALSE(content->showTabHint);
  grid.highlight = -1;
  EXPECT_EQ(grid.panelContent()->activeRow, -1);
  EXPECT_EQ(grid.panelContent()->activeCol, -1);
}

TEST(CandidateGridPanel, NoCandidatesHidesThePanel) {
  EXPECT_FALSE(gridOf(0).panelContent().has_value());
}

}  // namespace
}  // namespace ornav
