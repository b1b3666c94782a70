// Random event sequences through a session over a real engine: whatever the keys, clicks and
// activations, what the client and the panel are told stays consistent.
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
    return e;
  }();
  return events[std::uniform_int_distribution<std::size_t>(0, events.size() - 1)(random)];
}

void checkState(const json& out, const std::string& event) {
  SCOPED_TRACE(event);
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
