// The candidate panel through its window: construction, the cells of a row and of the expanded
// grid, the hint, the window's size and place, hiding, clicks, and the marquee in virtual time.
// Measuring: each letter of an 18-point word is 9 wide, a line 22.5 high; a 10.8-point digit is
// 5.4 by 13.5; the 11-point "Tab ▾" (5 code points) 27.5 by 13.75.
#include "panel/candidate_panel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testing/fake_system.h"
#include "testing/fake_ui.h"
#include "testing/manual_main_queue.h"

namespace ornav {
namespace {

using testing::FakeBundle;
using testing::FakeScreens;
using testing::FakeTextMeasurer;
using testing::ManualMainQueue;
using testing::RecordingPanelWindow;
using testing::RecordingWindowSystem;

const Rect kCaret{100, 500, 1, 18};
const Color kBlue = Color::ofRole(Color::Role::systemBlue, 0.8);

::testing::AssertionResult near(const Rect& actual, const Rect& expected) {
  const double tolerance = 1e-9;
  if (std::abs(actual.x - expected.x) < tolerance && std::abs(actual.y - expected.y) < tolerance &&
      std::abs(actual.width - expected.width) < tolerance &&
      std::abs(actual.height - expected.height) < tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "[" << actual.x << "," << actual.y << "," << actual.width << "," << actual.height
         << "] != [" << expected.x << "," << expected.y << "," << expected.width << ","
         << expected.height << "]";
}

std::vector<std::string> words(char letter, int count) {
  std::vector<std::string> row;
  for (int i = 0; i < count; ++i)
    row.push_back(std::string(1, letter) + std::string(2, static_cast<char>('a' + i)));
  return row;
}

class PanelTest : public ::testing::Test {
 protected:
  PanelTest() {
    const auto font = bundle.addResource("ornav.ttf", "font bytes");
    measurer.registrableFiles[font.string()] = "OrnavSans-Regular";
  }

  PanelEnvironment env() {
    return PanelEnvironment{&windows, &measurer,
                            &queue,   &screens,
                            &bundle,  [this](const std::string& line) { logs.push_back(line); }};
  }
  std::unique_ptr<CandidatePanel> makePanel() { return std::make_unique<CandidatePanel>(env()); }
  RecordingPanelWindow& window(std::size_t index = 0) { return *windows.panels.at(index); }
  const PanelScene& shown(std::size_t index = 0) { return *window(index).lastScene(); }

  FakeBundle bundle;
  FakeTextMeasurer measurer;
  FakeScreens screens;
  RecordingWindowSystem windows;
  ManualMainQueue queue;
  std::vector<std::string> logs;
};

// ---- Construction -----------------------------------------------------------------------------

TEST_F(PanelTest, ConstructionMakesOneHiddenWindowAndLoadsTheFontOnce) {
  auto panel = makePanel();
  ASSERT_EQ(windows.panels.size(), 1u);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(window().scenes.empty());
  EXPECT_EQ(panel->wordFont(), Font::named("OrnavSans-Regular", 18));
  EXPECT_EQ(panel->hintFont(), Font::system(11));
  EXPECT_TRUE(logs.empty());
  EXPECT_EQ(CandidatePanel::pageSize, 5);
  EXPECT_EQ(CandidatePanel::maxRows, 5);

  // Updates neither register the font again nor make another window.
  panel->update({{"sun"}}, 0, 0, false, kCaret);
  panel->update({words('a', 5), words('b', 5)}, 1, 0, false, kCaret);
  EXPECT_EQ(measurer.registrations.size(), 1u);
  EXPECT_EQ(windows.panels.size(), 1u);
  EXPECT_EQ(window().scenes.back().cells[0].word.font, Font::named("OrnavSans-Regular", 18));
}

TEST_F(PanelTest, WithoutTheFontFileEachPanelLogsOnceAndUsesTheFallback) {
  FakeBundle empty;
  PanelEnvironment environment = env();
  environment.bundle = &empty;
  CandidatePanel first(environment);
  CandidatePanel second(environment);
  first.update({{"sun"}}, 0, 0, false, kCaret);
  EXPECT_EQ(first.wordFont(), Font::named("Geeza Pro", 18));
  EXPECT_EQ(logs,
            (std::vector<std::string>(2, "CandidatePanel: ornav.ttf 加载失败，回退系统字体")));
}

TEST_F(PanelTest, TheSceneIsADarkRoundedShadowedPopUp) {
  auto panel = makePanel();
  panel->update({{"sun"}}, 0, 0, false, kCaret);
  const PanelScene& scene = shown();
  EXPECT_EQ(scene.level, WindowLevel::popUpMenu);
  EXPECT_EQ(scene.background, Color::white(0.15, 0.96));
  EXPECT_EQ(scene.cornerRadius, 8);
  EXPECT_TRUE(scene.hasShadow);
  EXPECT_EQ(scene, panel->scene());
}

// ---- The edge list ----------------------------------------------------------------------------

TEST_F(PanelTest, OneRowOfThreeWordsSizedToTheirWords) {
  auto panel = makePanel();
  panel->update({{"sun", "sup", "sip"}}, 0, 0, false, kCaret);
  EXPECT_TRUE(panel->isVisible());
  const PanelScene& scene = shown();
  ASSERT_EQ(scene.cells.size(), 3u);
  // Each cell 6 + 5.4 + 4 + 27 + 6 = 48.4 by 22.5 + 6; the row 3 × 48.4 + 8 = 153.2.
  const double cell = 6 + (5.4 + 4) + 27 + 6;
  const double row = cell * 3 + 8;
  EXPECT_TRUE(near(scene.cells[0].frame, {6 + row - cell, 6, cell, 28.5}));
  EXPECT_TRUE(near(scene.cells[1].frame, {6 + row - 2 * cell - 4, 6, cell, 28.5}));
  EXPECT_TRUE(near(scene.cells[2].frame, {6, 6, cell, 28.5}));
  for (int c = 0; c < 3; ++c) {
    const PanelCell& drawn = scene.cells[c];
    EXPECT_EQ(drawn.globalIndex, c);
    ASSERT_TRUE(drawn.digit.has_value());
    EXPECT_EQ(drawn.digit->text, std::to_string(c + 1));
    EXPECT_EQ(drawn.digit->font, Font::system(10.8));
    EXPECT_EQ(drawn.digit->color, Color::white(0.55));
    EXPECT_EQ(drawn.word.color, Color::white(1));
    EXPECT_FALSE(drawn.dim);
    EXPECT_EQ(drawn.highlighted, c == 0);
    EXPECT_EQ(drawn.background, c == 0 ? kBlue : Color::clear());
  }
  EXPECT_EQ(scene.cells[0].word.text, "sun");
  // The window fits the content: 153.2 + 12 by 28.5 + 12; its right edge would be at the caret's
  // (101), which puts its left edge off screen, so it is clamped to 0; 4 below the caret.
  EXPECT_TRUE(near(scene.frame, {0, 500 - 40.5 - 4, row + 12, 40.5}));
  EXPECT_EQ(panel->highlightedItem(), panel->itemViews()[0].get());
}

TEST_F(PanelTest, TheTabHintStandsAtTheLeftEndAndIgnoresClicks) {
  auto panel = makePanel();
  std::vector<int> picks;
  panel->setOnPick([&](int index) { picks.push_back(index); });
  panel->update({{"sun", "sup"}}, 0, 1, true, {800, 500, 1, 18});
  const PanelScene& scene = shown();
  ASSERT_EQ(scene.cells.size(), 3u);
  const PanelCell& hint = scene.cells[2];
  EXPECT_EQ(hint.globalIndex, -1);
  EXPECT_TRUE(hint.isHint);
  EXPECT_TRUE(hint.dim);
  EXPECT_FALSE(hint.highlighted);
  EXPECT_FALSE(hint.digit.has_value());
  EXPECT_EQ(hint.word.text, "Tab ▾");
  EXPECT_EQ(hint.word.font, Font::system(11));
  EXPECT_EQ(hint.word.color, Color::white(0.72));
  // 6 + 27.5 + 6 by 13.75 + 6, centred in the 28.5-high row.
  EXPECT_TRUE(near(hint.frame, {6, 6 + (28.5 - 19.75) / 2, 39.5, 19.75}));
  const double cell = 6 + (5.4 + 4) + 27 + 6;
  const double row = 2 * cell + 39.5 + 8;
  EXPECT_TRUE(near(scene.cells[0].frame, {6 + row - cell, 6, cell, 28.5}));
  EXPECT_TRUE(scene.cells[1].highlighted);
  EXPECT_TRUE(near(scene.frame, {801 - (row + 12), 455.5, row + 12, 40.5}));

  EXPECT_TRUE(window().click(2));
  EXPECT_TRUE(picks.empty());
  window().click(1);
  EXPECT_EQ(picks, (std::vector<int>{1}));
}

TEST_F(PanelTest, ThreeRowsMakeAGridOfFixedWidthCells) {
  auto panel = makePanel();
  std::vector<int> picks;
  panel->setOnPick([&](int index) { picks.push_back(index); });
  panel->update({words('a', 5), words('b', 5), words('c', 2)}, 1, 2, false, {1000, 500, 1, 18});
  const PanelScene& scene = shown();
  ASSERT_EQ(scene.cells.size(), 12u);
  for (std::size_t i = 0; i < scene.cells.size(); ++i) {
    const PanelCell& drawn = scene.cells[i];
    const bool activeRow = i >= 5 && i < 10;
    EXPECT_EQ(drawn.frame.width, 96) << i;
    EXPECT_EQ(drawn.globalIndex, static_cast<int>(i)) << i;  // rows of five: r × 5 + c
    EXPECT_EQ(drawn.dim, !activeRow) << i;
    EXPECT_EQ(drawn.word.color, activeRow ? Color::white(1) : Color::white(0.72)) << i;
    EXPECT_EQ(drawn.digit.has_value(), activeRow) << i;
    if (activeRow) {
      EXPECT_EQ(drawn.digit->text, std::to_string(i - 4));
    }
    EXPECT_EQ(drawn.highlighted, i == 7) << i;
    // Every word ends 6 inside its cell's right edge.
    EXPECT_DOUBLE_EQ(drawn.word.frame.x + drawn.word.frame.width, 90) << i;
  }
  // Rows: 5 × 96 + 16 = 496 wide; three of 28.5, 2 apart, from the top.
  EXPECT_TRUE(near(scene.cells[0].frame, {406, 67, 96, 28.5}));
  EXPECT_TRUE(near(scene.cells[7].frame, {206, 36.5, 96, 28.5}));  // third from the right
  EXPECT_TRUE(near(scene.cells[10].frame, {106, 6, 96, 28.5}));    // the short row at the left
  EXPECT_TRUE(near(scene.cells[11].frame, {6, 6, 96, 28.5}));
  EXPECT_TRUE(near(scene.frame, {1001 - 508, 500 - 101.5 - 4, 508, 101.5}));

  window().click(10);  // the first cell of row 2
  EXPECT_EQ(picks, (std::vector<int>{10}));
}

TEST_F(PanelTest, WithoutAnActiveRowNothingHasDigitsAndEverythingIsDim) {
  auto panel = makePanel();
  panel->update({words('a', 5), words('b', 3)}, -1, -1, false, kCaret);
  for (const PanelCell& drawn : shown().cells) {
    EXPECT_FALSE(drawn.digit.has_value());
    EXPECT_TRUE(drawn.dim);
    EXPECT_FALSE(drawn.highlighted);
    EXPECT_EQ(drawn.background, Color::clear());
  }
  EXPECT_EQ(panel->highlightedItem(), nullptr);
}

// ---- Placement --------------------------------------------------------------------------------

TEST_F(PanelTest, PlacedByTheScreenThatHoldsTheCaret) {
  auto panel = makePanel();
  const double width = 6 + (5.4 + 4) + 27 + 6 + 12;
  // Near the bottom: above the caret, 4 clear of it.
  panel->update({{"sun"}}, 0, 0, false, {700, 10, 1, 18});
  EXPECT_TRUE(near(shown().frame, {701 - width, 32, width, 40.5}));
  // Near the left edge of a visible frame that starts at x 30.
  screens.all[0].visibleFrame = {30, 0, 1410, 875};
  panel->update({{"sun"}}, 0, 0, false, {40, 500, 1, 18});
  EXPECT_TRUE(near(shown().frame, {30, 455.5, width, 40.5}));
  // Near the right edge: the right edges meet.
  panel->update({{"sun"}}, 0, 0, false, {1439, 500, 30, 18});
  EXPECT_TRUE(near(shown().frame, {1440 - width, 455.5, width, 40.5}));
  // A second screen to the right whose visible frame starts higher.
  screens.all.push_back(Screen{{1440, 0, 1000, 800}, {1440, 60, 1000, 740}});
  panel->update({{"sun"}}, 0, 0, false, {1600, 80, 1, 18});
  EXPECT_TRUE(near(shown().frame, {1601 - width, 102, width, 40.5}));
}

TEST_F(PanelTest, WithoutScreensThePanelIsPlacedUnclamped) {
  screens.all.clear();
  screens.mainIndex.reset();
  auto panel = makePanel();
  panel->update({{"sun"}}, 0, 0, false, {10, 5, 1, 18});
  const double width = 6 + (5.4 + 4) + 27 + 6 + 12;
  EXPECT_TRUE(near(shown().frame, {11 - width, 5 - 40.5 - 4, width, 40.5}));

  // A panel with no Screens port at all behaves the same.
  PanelEnvironment environment = env();
  environment.screens = nullptr;
  CandidatePanel bare(environment);
  bare.update({{"sun"}}, 0, 0, false, {10, 5, 1, 18});
  EXPECT_TRUE(near(shown(1).frame, {11 - width, 5 - 40.5 - 4, width, 40.5}));
}

// ---- Hiding -----------------------------------------------------------------------------------

TEST_F(PanelTest, EmptyRowsHideAndALaterUpdateRebuilds) {
  auto panel = makePanel();
  panel->update({{"sun", "sup"}}, 0, 0, true, kCaret);
  panel->update({}, -1, -1, false, kCaret);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(window().hideCount, 1);
  EXPECT_EQ(panel->itemViews().size(), 3u);  // the cells stay until the next update
  EXPECT_EQ(window().scenes.size(), 1u);

  panel->update({{"day"}}, 0, 0, false, kCaret);
  EXPECT_TRUE(panel->isVisible());
  ASSERT_EQ(shown().cells.size(), 1u);
  EXPECT_EQ(shown().cells[0].word.text, "day");
  EXPECT_EQ(panel->itemViews().size(), 1u);

  panel->hide();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(window().hideCount, 2);
  EXPECT_EQ(panel->itemViews().size(), 1u);
}

TEST_F(PanelTest, TheControllersContentFormIsTheSameUpdate) {
  auto panel = makePanel();
  panel->update(PanelContent{{{"sun", "sup"}}, 0, 1, true, 1000}, kCaret);
  ASSERT_EQ(shown().cells.size(), 3u);
  EXPECT_TRUE(shown().cells[1].highlighted);
  EXPECT_TRUE(shown().cells[2].isHint);
  EXPECT_EQ(shown().clientWindowLevel, 1000);
  panel->update(PanelContent{{{"sun"}}, 0, 0, false}, kCaret);
  EXPECT_EQ(shown().clientWindowLevel, std::nullopt);
  panel->update(PanelContent{}, kCaret);
  EXPECT_FALSE(panel->isVisible());
}

// ---- Clicks -----------------------------------------------------------------------------------

TEST_F(PanelTest, AClickCallsTheCurrentCallback) {
  auto panel = makePanel();
  std::vector<std::string> calls;
  panel->update({{"sun", "sup", "sip"}}, 0, 0, false, kCaret);
  window().click(0);  // no callback yet
  panel->setOnPick([&](int index) { calls.push_back("old " + std::to_string(index)); });
  panel->setOnPick([&](int index) { calls.push_back("new " + std::to_string(index)); });
  window().click(2);
  window().click(3);   // no such cell
  window().click(-1);  // nor this
  EXPECT_EQ(calls, (std::vector<std::string>{"new 2"}));
}

TEST_F(PanelTest, ClicksOnAHiddenOrReleasedPanelDoNothing) {
  auto panel = makePanel();
  int picks = 0;
  panel->setOnPick([&](int) { ++picks; });
  panel->update({{"sun"}}, 0, 0, false, kCaret);
  panel->hide();
  window().click(0);
  EXPECT_EQ(picks, 0);

  panel->update({{"sun"}}, 0, 0, false, kCaret);
  std::shared_ptr<RecordingPanelWindow> record = windows.panels[0];
  panel.reset();
  EXPECT_TRUE(record->released);
  record->visible = true;  // whatever the platform still thinks
  EXPECT_TRUE(record->click(0));
  EXPECT_EQ(picks, 0);
}

TEST_F(PanelTest, APickThatRebuildsThePanelIsSafe) {
  auto panel = makePanel();
  std::vector<int> picks;
  panel->setOnPick([&](int index) {
    picks.push_back(index);
    // The owner inserts the word and shows the next candidates at once.
    panel->update({{"day", "set", "rise"}}, 0, 0, false, kCaret);
  });
  panel->update({words('a', 5), words('b', 5)}, 1, 0, false, kCaret);
  window().click(6);
  EXPECT_EQ(picks, (std::vector<int>{6}));
  EXPECT_EQ(shown().cells.size(), 3u);
}

// ---- The marquee ------------------------------------------------------------------------------

TEST_F(PanelTest, OnlyTheHighlightedTooWideWordOfTheGridScrolls) {
  auto panel = makePanel();
  const std::string longWord(16, 'w');  // 144 wide: 60 past the 84 between the margins
  // Highlighted, in the expanded grid: scrolls; its word moves in the window.
  panel->update({{"sun", longWord}, {"day"}}, 0, 1, false, kCaret);
  ASSERT_EQ(queue.timerIntervals().size(), 1u);
  EXPECT_DOUBLE_EQ(queue.timerIntervals()[0].count(), 0.03);
  for (int i = 0; i < 10; ++i)
    queue.advance(Seconds(0.03));
  ASSERT_EQ(window().wordOffsets.count(1), 1u);
  EXPECT_NEAR(window().wordOffsets[1], 6.0, 1e-9);
  EXPECT_NEAR(panel->highlightedItem()->wordLeading(), 0.0, 1e-9);

  // Every update stops it first; a long word that is not highlighted stays put.
  panel->update({{"sun", longWord}, {"day"}}, 0, 0, false, kCaret);
  EXPECT_TRUE(queue.timerIntervals().empty());
  queue.advance(Seconds(1));
  EXPECT_TRUE(window().wordOffsets.empty());

  // One row: cells fit their words, nothing scrolls.
  panel->update({{longWord}}, 0, 0, false, kCaret);
  EXPECT_TRUE(queue.timerIntervals().empty());
}

TEST_F(PanelTest, HidingStopsTheMarqueeAndPutsTheWordBack) {
  auto panel = makePanel();
  panel->update({{std::string(16, 'w')}, {"day"}}, 0, 0, false, kCaret);
  queue.advance(Seconds(0.3));
  EXPECT_GT(window().wordOffsets[0], 0);
  panel->hide();
  EXPECT_TRUE(queue.timerIntervals().empty());
  EXPECT_EQ(window().wordOffsets[0], 0);
  EXPECT_EQ(panel->itemViews()[0]->wordLeading(), -6);

  // An empty update does the same.
  panel->update({{std::string(16, 'w')}, {"day"}}, 0, 0, false, kCaret);
  queue.advance(Seconds(0.3));
  panel->update({}, -1, -1, false, kCaret);
  EXPECT_TRUE(queue.timerIntervals().empty());
  EXPECT_EQ(panel->itemViews()[0]->wordLeading(), -6);
}

TEST_F(PanelTest, AReleasedPanelLeavesNoTimer) {
  auto panel = makePanel();
  panel->update({{std::string(16, 'w')}, {"day"}}, 0, 0, false, kCaret);
  panel.reset();
  EXPECT_TRUE(queue.timerIntervals().empty());
  queue.advance(Seconds(1));
}

}  // namespace
}  // namespace ornav
