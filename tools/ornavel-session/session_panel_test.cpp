// The panel as the session draws it: the "window" and "cells" members, the caret event and the
// screens, worked out by hand from the layout rules. The session measures a text of n characters
// in an s-point font as n × s / 2 by s × 5 / 4: an 18-point word letter is 9 wide and 22.5 high, a
// 10.8-point digit 5.4 by 13.5, the 11-point "Tab ▾" (5 characters) 27.5 by 13.75.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "session_test_support.h"

namespace ornav::session_testing {
namespace {

using nlohmann::json;

constexpr int kTab = 48;

// Cell sizes by the rules: 6 + (digit + 4) + word + 6 wide, or 96 in a grid; word height + 6.
constexpr double kLetter = 9;
constexpr double kDigit = 5.4;
constexpr double kCellHeight = 22.5 + 6;
double rowCell(int letters, bool digit) {
  return 6 + (digit ? kDigit + 4 : 0) + letters * kLetter + 6;
}
constexpr double kHintWidth = 6 + 27.5 + 6;
constexpr double kHintHeight = 13.75 + 6;

::testing::AssertionResult rectIs(const json& actual, std::vector<double> expected) {
  if (!actual.is_array() || actual.size() != 4) {
    return ::testing::AssertionFailure() << actual.dump() << " is not [x,y,w,h]";
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (!actual[i].is_number() || std::fabs(actual[i].get<double>() - expected[i]) > 1e-9) {
      return ::testing::AssertionFailure()
             << actual.dump() << " != " << json(expected).dump() << " at " << i;
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult cellIs(const json& cell, int index, const std::string& word,
                                  const std::string& digit, bool dim, bool highlighted,
                                  std::vector<double> frame) {
  const json expected = {{"index", index},
                         {"word", word},
                         {"digit", digit},
                         {"dim", dim},
                         {"highlighted", highlighted}};
  if (auto same = matches(cell, expected); !same) return same;
  if (cell.size() != 6) return ::testing::AssertionFailure() << cell.dump() << " has extra members";
  return rectIs(cell["frame"], std::move(frame));
}

TEST(SessionPanelPicture, HiddenIsNullAndNoCells) {
  ScenarioSession s;
  json out = s.send(kActivate);
  EXPECT_TRUE(out.contains("window"));
  EXPECT_TRUE(out["window"].is_null());
  EXPECT_EQ(out["cells"], json::array());
  s.send(key(0, "x"));  // no candidates
  out = s.send(key(53, ""));
  EXPECT_TRUE(out["window"].is_null());
  EXPECT_EQ(out["cells"], json::array());
}

TEST(SessionPanelPicture, OneRowUnderTheDefaultCaret) {
  ScenarioSession s;
  const json out = s.send(key(0, "s"));
  const double cell = rowCell(3, true);  // 48.4
  const double row = 3 * cell + 2 * 4;
  // Right edge at the caret's (101) would put the left edge at -64.2: clamped to the visible
  // frame's left edge; 4 below the caret's bottom (500).
  EXPECT_TRUE(rectIs(out["window"], {0, 500 - (kCellHeight + 12) - 4, row + 12, kCellHeight + 12}));
  ASSERT_EQ(out["cells"].size(), 3u);
  EXPECT_TRUE(cellIs(out["cells"][0], 0, "sun", "1", false, true, {6 + row - cell, 6, cell, 28.5}));
  EXPECT_TRUE(cellIs(out["cells"][1], 1, "sup", "2", false, false,
                     {6 + row - 2 * cell - 4, 6, cell, 28.5}));
  EXPECT_TRUE(cellIs(out["cells"][2], 2, "sip", "3", false, false, {6, 6, cell, 28.5}));
}

TEST(SessionPanelPicture, TheReadmeExampleIsTheLineWritten) {
  ScenarioSession s;
  EXPECT_EQ(
      *s.session().handleLine(key(0, "s")),
      R"({"handled":true,"document":"","marked":"s","selection":[1,0],"panel":{"visible":true,)"
      R"("rows":[["sun","sup","sip"]],"activeRow":0,"activeCol":0,"tabHint":false},)"
      R"("window":[0,455.5,165.2,40.5],)"
      R"("cells":[{"index":0,"word":"sun","digit":"1","dim":false,"highlighted":true,)"
      R"("frame":[110.8,6,48.4,28.5]},)"
      R"({"index":1,"word":"sup","digit":"2","dim":false,"highlighted":false,)"
      R"("frame":[58.4,6,48.4,28.5]},)"
      R"({"index":2,"word":"sip","digit":"3","dim":false,"highlighted":false,)"
      R"("frame":[6,6,48.4,28.5]}]})");
}

TEST(SessionPanelPicture, TheHintCellEndsTheFirstRowAtItsLeft) {
  ScenarioSession s;
  const json out = s.send(key(0, "k"));
  ASSERT_TRUE(matches(out, {{"panel", {{"tabHint", true}}}}));
  ASSERT_EQ(out["cells"].size(), 6u);
  const double cell = rowCell(3, true);
  const double row = 5 * cell + kHintWidth + 5 * 4;
  EXPECT_TRUE(rectIs(out["window"], {0, 455.5, row + 12, kCellHeight + 12}));
  const std::vector<std::string> words = {"kab", "kac", "kad", "kae", "kaf"};
  double right = 6 + row;
  for (int c = 0; c < 5; ++c) {
    EXPECT_TRUE(cellIs(out["cells"][c], c, words[c], std::to_string(c + 1), false, c == 0,
                       {right - cell, 6, cell, 28.5}))
        << c;
    right -= cell + 4;
  }
  // Centred in the 28.5-high row.
  EXPECT_TRUE(cellIs(out["cells"][5], -1, "Tab ▾", "", true, false,
                     {6, 6 + (kCellHeight - kHintHeight) / 2, kHintWidth, kHintHeight}));
}

TEST(SessionPanelPicture, ATwoRowGridOfFixedWidthCells) {
  ScenarioSession s;
  s.send(key(0, "k"));
  const json out = s.send(key(kTab, "\t"));
  ASSERT_TRUE(matches(out, {{"panel", {{"activeRow", 1}, {"activeCol", 0}, {"tabHint", false}}}}));
  ASSERT_EQ(out["cells"].size(), 7u);
  // Rows of 5 × 96 + 4 × 4 = 496 and 2 × 96 + 4 = 196; two rows of 28.5, 2 apart, inset 6.
  const double height = 2 * kCellHeight + 2 + 12;  // 71
  EXPECT_TRUE(rectIs(out["window"], {0, 500 - height - 4, 496 + 12, height}));
  const std::vector<std::string> top = {"kab", "kac", "kad", "kae", "kaf"};
  for (int c = 0; c < 5; ++c) {
    EXPECT_TRUE(
        cellIs(out["cells"][c], c, top[c], "", true, false, {406.0 - 100 * c, 36.5, 96, 28.5}))
        << c;
  }
  // The narrower second row stands at the left edge, its first cell at its right end. The
  // 12-letter word (108) is wider than its cell, which keeps its width.
  EXPECT_TRUE(cellIs(out["cells"][5], 5, "kag", "1", false, true, {106, 6, 96, 28.5}));
  EXPECT_TRUE(cellIs(out["cells"][6], 6, "kahkahkahkah", "2", false, false, {6, 6, 96, 28.5}));
}

TEST(SessionPanelPicture, TheCaretIsReadAtTheNextUpdate) {
  ScenarioSession s;
  const json before = s.send(key(0, "s"));
  // Near the bottom of the screen: the answer still shows the previous picture.
  const json moved = s.send(caret(700, 20, 1, 18));
  EXPECT_TRUE(matches(moved, {{"handled", nullptr}, {"marked", "s"}}));
  EXPECT_EQ(moved["window"], before["window"]);
  EXPECT_EQ(moved["cells"], before["cells"]);
  // "su": sun and sup. Below would be 20 - 40.5 - 4 < 0, so 4 above the caret's top (38).
  const json out = s.send(key(0, "u"));
  const double width = 2 * rowCell(3, true) + 4 + 12;
  EXPECT_TRUE(rectIs(out["window"], {701 - width, 42, width, 40.5}));
  EXPECT_EQ(out["cells"].size(), 2u);
}

TEST(SessionPanelPicture, LeftAndRightEdgesClampToTheVisibleFrame) {
  ScenarioSession s;
  const double width = 3 * rowCell(3, true) + 8 + 12;
  s.send(caret(1430, 300, 30, 18));  // reaching past the right edge
  EXPECT_TRUE(rectIs(s.send(key(0, "s"))["window"], {1440 - width, 300 - 40.5 - 4, width, 40.5}));
}

TEST(SessionPanelPicture, AClickOnACellPicksThroughThePanel) {
  ScenarioSession s;
  s.send(key(0, "s"));
  const json out = s.send(click(2));
  EXPECT_TRUE(matches(out, {{"document", "sip "}}));
  EXPECT_TRUE(out["window"].is_null());  // "sip" has no predictions
}

// ---- Screens ----------------------------------------------------------------------------------

TEST(SessionPanelScreens, TheScreenThatHoldsTheCaretIsUsed) {
  // A main screen, and one to its right whose visible frame starts 60 points up.
  ScenarioSession s(true, {Screen{{0, 0, 1440, 900}, {0, 0, 1440, 875}},
                           Screen{{1440, 0, 1000, 800}, {1440, 60, 1000, 740}}});
  s.send(caret(1450, 70, 1, 18));
  const json out = s.send(key(0, "s"));
  const double width = 3 * rowCell(3, true) + 8 + 12;
  // x = 1451 - 165.2 falls left of the second screen's visible frame: 1440. y = 70 - 44.5 is
  // below its visible frame: 70 + 18 + 4.
  EXPECT_TRUE(rectIs(out["window"], {1440, 92, width, 40.5}));

  // Off every screen: the main (first) screen's visible frame.
  s.send(caret(5000, 400, 1, 18));
  EXPECT_TRUE(rectIs(
      s.send(key(0, "u"))["window"],
      {1440 - (2 * rowCell(3, true) + 4 + 12), 400 - 44.5, 2 * rowCell(3, true) + 4 + 12, 40.5}));
}

TEST(SessionPanelScreens, WithoutScreensNothingIsClamped) {
  ScenarioSession s(true, {});
  s.send(caret(10, 5, 1, 18));
  const json out = s.send(key(0, "s"));
  const double width = 3 * rowCell(3, true) + 8 + 12;
  EXPECT_TRUE(rectIs(out["window"], {11 - width, 5 - 40.5 - 4, width, 40.5}));
}

// ---- The protocol's new lines -----------------------------------------------------------------

TEST(SessionPanelProtocol, MalformedCaretEventsChangeNothing) {
  ScenarioSession s;
  s.send(key(0, "s"));
  for (const std::string line :
       {R"({"event":"caret"})", R"({"event":"caret","rect":[1,2,3]})",
        R"({"event":"caret","rect":[1,2,3,"4"]})", R"({"event":"caret","rect":[1,2,-3,4]})",
        R"({"event":"caret","rect":[1,2,3,-4]})", R"({"event":"caret","rect":{"x":1}})",
        R"({"event":"caret","rect":[1,2,3,4,5]})"}) {
    std::string error;
    auto answer = s.session().handleLine(line, &error);
    ASSERT_TRUE(answer) << line;
    EXPECT_FALSE(error.empty()) << line;
    EXPECT_TRUE(matches(json::parse(*answer), {{"handled", nullptr}, {"marked", "s"}}));
  }
  EXPECT_EQ(s.session().client().lineRect(), (Rect{100, 500, 1, 18}));
  s.send(caret(1.5, 2, 0, 0));
  EXPECT_EQ(s.session().client().lineRect(), (Rect{1.5, 2, 0, 0}));
}

TEST(SessionPanelProtocol, NumbersAreWrittenAsTheyAre) {
  session::SessionState state;
  state.window = Rect{0, 455.5, 165.25, 40};
  state.cells.push_back(session::SessionCell{-1, "Tab ▾", "", true, false, Rect{-0.0, 1e-3, 2, 3}});
  EXPECT_EQ(session::formatState(state),
            R"({"handled":null,"document":"","marked":"","selection":[0,0],"panel":{"visible":)"
            R"(false,"rows":[],"activeRow":-1,"activeCol":-1,"tabHint":false},)"
            R"("window":[0,455.5,165.25,40],"cells":[{"index":-1,"word":"Tab ▾","digit":"",)"
            R"("dim":true,"highlighted":false,"frame":[0,0.001,2,3]}]})");
}

TEST(SessionScreensFile, ArraysOfFramesAreRead) {
  std::string error;
  auto screens = session::parseScreensJson(
      R"([{"frame":[0,0,1440,900],"visibleFrame":[0,0,1440,875]},)"
      R"( {"frame":[1440,-100,800.5,600],"visibleFrame":[1440,-100,800.5,580],"name":"x"}])",
      &error);
  ASSERT_TRUE(screens) << error;
  ASSERT_EQ(screens->size(), 2u);
  EXPECT_EQ((*screens)[1].frame, (Rect{1440, -100, 800.5, 600}));
  EXPECT_EQ((*screens)[1].visibleFrame, (Rect{1440, -100, 800.5, 580}));
  screens = session::parseScreensJson(" [] ", &error);
  ASSERT_TRUE(screens);
  EXPECT_TRUE(screens->empty());
}

TEST(SessionScreensFile, AnythingElseIsRefusedWithAReason) {
  for (const char* text : {"", "{", "{}", "[1]", R"([{"frame":[0,0,1,1]}])",
                           R"([{"frame":[0,0,1,1],"visibleFrame":[0,0,1]}])",
                           R"([{"frame":[0,0,-1,1],"visibleFrame":[0,0,1,1]}])",
                           R"([{"frame":[0,0,1,1],"visibleFrame":[0,0,1,-1]}])",
                           R"([{"frame":[0,0,1,1],"visibleFrame":[0,0,1,null]}])",
                           R"([{"frame":[0,0,1,1e999],"visibleFrame":[0,0,1,1]}])", "\xff"}) {
    std::string error;
    EXPECT_FALSE(session::parseScreensJson(text, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

}  // namespace
}  // namespace ornav::session_testing
