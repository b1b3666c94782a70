// Random event sequences through a session over a real engine: whatever the keys, clicks, caret
// moves and activations, what the client and the panel are told stays consistent, and the panel's
// picture follows the rows it was given.
#include <gtest/gtest.h>

#include <random>

#include "base/text.h"
#include "session_test_support.h"

namespace ornav::session_testing {
namespace {

using nlohmann::json;

std::string randomEvent(std::mt19937& random) {
  static const std::vector<std::string> events = [] {
    std::vector<std::string> e;
    for (const char* letter : {"s", "u", "n", "t", "a", "m", "b", "x", "T"})
      e.push_back(key(0, letter));
    for (int code : {36, 76, 49, 51, 53, 48, 123, 124, 125, 126})
      e.push_back(key(code, ""));
    for (const char* digit : {"1", "2", "3", "5", "6", "0"})
      e.push_back(key(18, digit));
    e.push_back(key(8, "c", 0x100000));
    e.push_back(key(0, "a", 0x40000));
    e.push_back(key(18, "!"));
    e.push_back(keyWithoutCharacters(122));
    for (int index : {-1, 0, 1, 4, 5, 7, 12, 24, 30})
      e.push_back(click(index));
    e.push_back(kActivate);
    e.push_back(kDeactivate);
    // Near the bottom, the left and right edges, across the top, and on no screen.
    e.push_back(caret(100, 500, 1, 18));
    e.push_back(caret(700, 3, 1, 18));
    e.push_back(caret(0, 400, 0, 18));
    e.push_back(caret(1435, 400, 10, 18));
    e.push_back(caret(300, 890, 2, 20));
    e.push_back(caret(-900, -900, 1, 18));
    return e;
  }();
  return events[std::uniform_int_distribution<std::size_t>(0, events.size() - 1)(random)];
}

constexpr double kTolerance = 1e-9;

// The picture of a visible panel: one cell per candidate of the rows (global index r × 5 + c) in
// creation order with the hint right after row 0's candidates, digits, dimming and the highlight
// as the active row and column say, rows right to left, every cell inside the window's content
// and its inset, and the window within the default screen's visible width.
void checkPicture(const json& out) {
  const json& panel = out["panel"];
  const json& cells = out["cells"];
  if (!panel["visible"].get<bool>()) {
    EXPECT_TRUE(out["window"].is_null());
    EXPECT_EQ(cells, json::array());
    return;
  }
  ASSERT_TRUE(out["window"].is_array());
  ASSERT_EQ(out["window"].size(), 4u);
  const double x = out["window"][0], width = out["window"][2], height = out["window"][3];
  EXPECT_GE(x, -kTolerance);
  EXPECT_LE(x + width, 1440 + kTolerance);
  EXPECT_LE(cells.size(), 26u);

  const auto& rows = panel["rows"];
  const int activeRow = panel["activeRow"];
  const int activeCol = panel["activeCol"];
  const bool grid = rows.size() >= 2;
  std::size_t next = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    double leftOfPrevious = width;  // the next cell of the row ends at least 4 left of this
    for (std::size_t c = 0; c <= rows[r].size(); ++c) {
      const bool hint = c == rows[r].size();
      if (hint && !(r == 0 && panel["tabHint"].get<bool>())) break;
      ASSERT_LT(next, cells.size());
      const json& cell = cells[next++];
      const bool active = static_cast<int>(r) == activeRow;
      if (hint) {
        EXPECT_EQ(cell["index"], -1);
        EXPECT_EQ(cell["word"], "Tab ▾");
        EXPECT_EQ(cell["digit"], "");
        EXPECT_TRUE(cell["dim"].get<bool>());
        EXPECT_FALSE(cell["highlighted"].get<bool>());
      } else {
        EXPECT_EQ(cell["index"], static_cast<int>(r * 5 + c));
        EXPECT_EQ(cell["word"], rows[r][c]);
        EXPECT_EQ(cell["digit"], active ? std::to_string(c + 1) : "");
        EXPECT_EQ(cell["dim"], !active);
        EXPECT_EQ(cell["highlighted"], active && static_cast<int>(c) == activeCol);
        if (grid) {
          EXPECT_EQ(cell["frame"][2], 96);
        }
      }
      const double cx = cell["frame"][0], cy = cell["frame"][1];
      const double cw = cell["frame"][2], ch = cell["frame"][3];
      EXPECT_GE(cx, 6 - kTolerance);
      EXPECT_GE(cy, 6 - kTolerance);
      EXPECT_LE(cx + cw, width - 6 + kTolerance);
      EXPECT_LE(cy + ch, height - 6 + kTolerance);
      EXPECT_LE(cx + cw, leftOfPrevious - (c == 0 ? 0 : 4) + kTolerance);
      leftOfPrevious = cx;
    }
  }
  EXPECT_EQ(next, cells.size());
}

void checkState(const json& out, const std::string& event) {
  SCOPED_TRACE(event);
  checkPicture(out);
  const json& panel = out["panel"];
  const auto& rows = panel["rows"];
  const int activeRow = panel["activeRow"];
  const int activeCol = panel["activeCol"];
  if (!panel["visible"].get<bool>()) {
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(activeRow, -1);
    EXPECT_EQ(activeCol, -1);
    EXPECT_FALSE(panel["tabHint"].get<bool>());
  } else {
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows.size(), 5u);
    for (const auto& row : rows) {
      EXPECT_GE(row.size(), 1u);
      EXPECT_LE(row.size(), 5u);
    }
    EXPECT_GE(activeRow, -1);
    EXPECT_LT(activeRow, static_cast<int>(rows.size()));
    if (activeRow >= 0) {
      EXPECT_LT(activeCol, static_cast<int>(rows[activeRow].size()));
    }
    if (panel["tabHint"].get<bool>()) {
      EXPECT_EQ(rows.size(), 1u);
    }
  }
  const std::string marked = out["marked"];
  EXPECT_EQ(out["selection"][0].get<std::size_t>(), graphemeCount(marked));
  EXPECT_EQ(out["selection"][1], 0);
}

TEST(SessionRandom, StateStaysConsistent) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 40; ++run) {
    ScenarioSession s;
    for (int step = 0; step < 60; ++step) {
      const std::string event = randomEvent(random);
      const json out = s.send(event);
      checkState(out, event);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace ornav::session_testing
