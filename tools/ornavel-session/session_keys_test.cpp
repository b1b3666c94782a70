// The key decision table, row by row, through the headless session over a real engine: every key
// with the panel shown and not shown, the Tab, arrow and digit examples, predictions after a pick,
// chords, unmapped keys, direct insertion, more than 25 candidates and clicks.
#include <gtest/gtest.h>

#include "session_test_support.h"

namespace ornav::session_testing {
namespace {

using nlohmann::json;

constexpr int kReturn = 36, kEnter = 76, kSpace = 49, kDelete = 51, kEscape = 53, kTab = 48;
constexpr int kLeft = 123, kRight = 124, kDown = 125, kUp = 126;
constexpr std::uint64_t kShift = 0x20000, kControl = 0x40000, kOption = 0x80000,
                        kCommand = 0x100000, kNumericPad = 0x200000;

const json kHidden = {{"visible", false},
                      {"rows", json::array()},
                      {"activeRow", -1},
                      {"activeCol", -1},
                      {"tabHint", false}};
const json kSunRow = json::array({json::array({"sun", "sup", "sip"})});
const json kPredictions = {{"visible", true},
                           {"rows", json::array({json::array({"day", "set", "rise"})})},
                           {"activeRow", 0},
                           {"activeCol", 0},
                           {"tabHint", false}};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One row of the decision table: what comes before, the key, and what must hold afterwards.
struct Row {
  const char* name;
  std::vector<std::string> before;
  std::string event;
  json expected;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

class DecisionTable : public ::testing::TestWithParam<Row> {};

TEST_P(DecisionTable, Row) {
  ScenarioSession s;
  s.sendAll(GetParam().before);
  EXPECT_TRUE(matches(s.send(GetParam().event), GetParam().expected));
}

const std::vector<std::string> kPicked = {key(0, "s"), key(kSpace, " ")};  // "sun " + predictions
const std::string kPredictionsSwitch = R"({"event":"menu","item":"显示下一词预测"})";

INSTANTIATE_TEST_SUITE_P(
    Return, DecisionTable,
    ::testing::Values(
        Row{"ComposingWithPanelCommitsWithSpace",
            typing("ta"),
            key(kReturn, "\r"),
            {{"handled", true}, {"document", "ta "}, {"marked", ""}, {"selection", {0, 0}}}},
        Row{"ComposingWithoutPanelCommitsWithSpace",
            typing("x"),
            key(kReturn, "\r"),
            {{"handled", true}, {"document", "x "}, {"panel", kHidden}}},
        Row{"KeypadEnterIsReturn",
            typing("ta"),
            key(kEnter, "\x03", kNumericPad),
            {{"handled", true}, {"document", "ta "}}},
        Row{"EmptyWithPanelDismissesAndPassesThrough",
            kPicked,
            key(kReturn, "\r"),
            {{"handled", false}, {"document", "sun \n"}, {"panel", kHidden}}},
        Row{"EmptyWithoutPanelPassesThrough",
            {},
            key(kReturn, "\r"),
            {{"handled", false}, {"document", "\n"}, {"panel", kHidden}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Space, DecisionTable,
    ::testing::Values(
        Row{"PanelShownPicksTheHighlight",
            typing("s"),
            key(kSpace, " "),
            {{"handled", true}, {"document", "sun "}, {"marked", ""}, {"panel", kPredictions}}},
        Row{"PanelShownPicksAfterArrows",
            {key(0, "s"), key(kLeft, "")},
            key(kSpace, " "),
            {{"handled", true}, {"document", "sup "}, {"panel", kHidden}}},
        Row{"ComposingWithoutPanelIsReturn",
            typing("x"),
            key(kSpace, " "),
            {{"handled", true}, {"document", "x "}}},
        Row{"PredictionsShownPicksTheFirst",
            kPicked,
            key(kSpace, " "),
            {{"handled", true}, {"document", "sun day "}}},
        Row{"EmptyWithoutPanelPassesThrough",
            {},
            key(kSpace, " "),
            {{"handled", false}, {"document", " "}, {"panel", kHidden}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Delete, DecisionTable,
    ::testing::Values(
        Row{"ComposingWithPanelRemovesOneLetter",
            typing("su"),
            key(kDelete, "\x7f"),
            {{"handled", true},
             {"marked", "s"},
             {"selection", {1, 0}},
             {"panel", {{"visible", true}, {"rows", kSunRow}}}}},
        Row{"ComposingWithoutPanelRemovesOneLetter",
            typing("xy"),
            key(kDelete, "\x7f"),
            {{"handled", true}, {"marked", "x"}, {"panel", kHidden}}},
        Row{"LastLetterClearsMarkedText",
            typing("s"),
            key(kDelete, "\x7f"),
            {{"handled", true}, {"marked", ""}, {"document", ""}, {"panel", kHidden}}},
        Row{"EmptyWithPanelDismissesAndDeletes",
            kPicked,
            key(kDelete, "\x7f"),
            {{"handled", false}, {"document", "sun"}, {"panel", kHidden}}},
        Row{"EmptyWithoutPanelDeletesInTheClient",
            {key(18, "!"), key(19, "@")},
            key(kDelete, "\x7f"),
            {{"handled", false}, {"document", "!"}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Escape, DecisionTable,
    ::testing::Values(
        Row{"ComposingWithPanelEmptiesTheBuffer",
            typing("su"),
            key(kEscape, "\x1b"),
            {{"handled", true}, {"marked", ""}, {"document", ""}, {"panel", kHidden}}},
        Row{"ComposingWithoutPanelEmptiesTheBuffer",
            typing("x"),
            key(kEscape, "\x1b"),
            {{"handled", true}, {"marked", ""}, {"document", ""}}},
        Row{"ComposingAfterAPickAlsoForgetsTheContext",
            concat(kPicked, typing("s")),
            key(kEscape, "\x1b"),
            {{"handled", true}, {"document", "sun "}, {"panel", kHidden}}},
        Row{"EmptyWithPanelDismissesAndSwallows",
            kPicked,
            key(kEscape, "\x1b"),
            {{"handled", true}, {"document", "sun "}, {"panel", kHidden}}},
        Row{"SecondEscapePassesThrough",
            concat(kPicked, {key(kEscape, "\x1b")}),
            key(kEscape, "\x1b"),
            {{"handled", false}, {"document", "sun "}}},
        Row{"EmptyWithoutPanelPassesThrough",
            {},
            key(kEscape, "\x1b"),
            {{"handled", false}, {"document", ""}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    TabAndArrows, DecisionTable,
    ::testing::Values(
        Row{"TabOpensRowTwo",
            typing("t"),
            key(kTab, "\t"),
            {{"handled", true},
             {"panel", {{"activeRow", 1}, {"activeCol", 0}, {"tabHint", false}}}}},
        Row{"TabWithoutPanelPassesThroughKeepingMarkedText",
            typing("x"),
            key(kTab, "\t"),
            {{"handled", false}, {"marked", "x"}, {"document", ""}}},
        Row{"LeftMovesToTheNext",
            typing("t"),
            key(kLeft, ""),
            {{"handled", true}, {"panel", {{"activeRow", 0}, {"activeCol", 1}}}}},
        Row{"RightAtTheFirstStays",
            typing("t"),
            key(kRight, ""),
            {{"handled", true}, {"panel", {{"activeRow", 0}, {"activeCol", 0}}}}},
        Row{"RightMovesBack",
            {key(0, "t"), key(kLeft, ""), key(kLeft, "")},
            key(kRight, ""),
            {{"handled", true}, {"panel", {{"activeCol", 1}}}}},
        Row{"DownExpands",
            typing("t"),
            key(kDown, ""),
            {{"handled", true}, {"panel", {{"activeRow", 1}, {"activeCol", 0}}}}},
        Row{"UpReturnsToRowOneStillExpanded",
            {key(0, "t"), key(kDown, "")},
            key(kUp, ""),
            {{"handled", true}, {"panel", {{"activeRow", 0}, {"activeCol", 0}}}}},
        Row{"LeftWithoutPanel", typing("x"), key(kLeft, ""), {{"handled", false}, {"marked", "x"}}},
        Row{"RightWithoutPanel",
            typing("x"),
            key(kRight, ""),
            {{"handled", false}, {"marked", "x"}}},
        Row{"DownWithoutPanel", typing("x"), key(kDown, ""), {{"handled", false}, {"marked", "x"}}},
        Row{"UpWithoutPanel", {}, key(kUp, ""), {{"handled", false}, {"document", ""}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OtherKeys, DecisionTable,
    ::testing::Values(Row{"DigitPicksInTheRow",
                          typing("t"),
                          key(20, "3"),
                          {{"handled", true}, {"document", "tad "}}},
                      Row{"KeypadDigitPicks",
                          typing("t"),
                          key(83, "1", kNumericPad),
                          {{"handled", true}, {"document", "tab "}}},
                      Row{"DigitFivePicksTheFifth",
                          typing("t"),
                          key(23, "5"),
                          {{"handled", true}, {"document", "taf "}}},
                      Row{"DigitSixIsNotASelectionKey",
                          typing("t"),
                          key(22, "6"),
                          {{"handled", false}, {"document", "t6"}}},
                      Row{"DigitWithoutPanelIsOrdinary",
                          typing("x"),
                          key(18, "1"),
                          {{"handled", false}, {"document", "x1"}, {"marked", ""}}},
                      Row{"NoCharactersCommits",
                          typing("ta"),
                          keyWithoutCharacters(122),
                          {{"handled", false}, {"document", "ta"}, {"marked", ""}}},
                      Row{"EmptyCharactersCommit",
                          typing("ta"),
                          key(117, ""),
                          {{"handled", false}, {"document", "ta"}}},
                      Row{"UnmappedCommitsThenReachesTheClient",
                          typing("ta"),
                          key(18, "!"),
                          {{"handled", false}, {"document", "ta!"}, {"marked", ""}}},
                      Row{"PageDownHasNoRowOfItsOwn",
                          typing("t"),
                          key(121, "\xEF\x9C\xAD"),
                          {{"handled", false}, {"document", "t\xEF\x9C\xAD"}}},
                      Row{"MappedLetterComposes",
                          typing("t"),
                          key(0, "a"),
                          {{"handled", true}, {"marked", "ta"}, {"selection", {2, 0}}}},
                      Row{"ShiftedLetterIsLookedUpAsTyped",
                          {},
                          key(17, "T", kShift),
                          {{"handled", true}, {"marked", "t"}}},
                      Row{"UnmappedWithPanelShownEndsTheWord",
                          typing("su"),
                          key(18, "?", kShift),
                          {{"handled", false}, {"document", "su?"}, {"panel", kHidden}}},
                      // Keys that reach the client take the predictions with them, so the
                      // next Space or digit is the client's.
                      Row{"FullStopAfterAPickHidesThePredictions",
                          kPicked,
                          key(47, "."),
                          {{"handled", false}, {"document", "sun ."}, {"panel", kHidden}}},
                      Row{"SpaceAfterThatFullStopIsASpace",
                          concat(kPicked, {key(47, ".")}),
                          key(kSpace, " "),
                          {{"handled", false}, {"document", "sun . "}, {"panel", kHidden}}},
                      Row{"DigitSixAfterAPickHidesThePredictions",
                          kPicked,
                          key(22, "6"),
                          {{"handled", false}, {"document", "sun 6"}, {"panel", kHidden}}},
                      Row{"KeyWithoutCharactersAfterAPickHidesThePredictions",
                          kPicked,
                          keyWithoutCharacters(122),
                          {{"handled", false}, {"panel", kHidden}}},
                      Row{"WithoutPredictionsAPickShowsNoPanel",
                          concat({kPredictionsSwitch}, typing("s")),
                          key(kSpace, " "),
                          {{"handled", true}, {"document", "sun "}, {"panel", kHidden}}},
                      Row{"WithoutPredictionsSpaceAfterAPickIsASpace",
                          concat({kPredictionsSwitch}, kPicked),
                          key(kSpace, " "),
                          {{"handled", false}, {"document", "sun  "}}},
                      Row{"WithoutPredictionsDigitAfterAPickIsADigit",
                          concat({kPredictionsSwitch}, kPicked),
                          key(19, "2"),
                          {{"handled", false}, {"document", "sun 2"}}},
                      Row{"PredictionsSwitchedBackOn",
                          {kPredictionsSwitch, kPredictionsSwitch, key(0, "s")},
                          key(kSpace, " "),
                          {{"document", "sun "}, {"panel", kPredictions}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Chords, DecisionTable,
    ::testing::Values(Row{"CommandCommitsWithoutSpace",
                          typing("su"),
                          key(8, "c", kCommand),
                          {{"handled", false}, {"document", "su"}, {"marked", ""}}},
                      Row{"ControlCommits",
                          typing("su"),
                          key(0, "a", kControl),
                          {{"handled", false}, {"document", "su"}}},
                      Row{"OptionCommits",
                          typing("su"),
                          key(0, "\xC3\xA5", kOption),
                          {{"handled", false}, {"document", "su"}}},
                      Row{"ChordWithEmptyBufferReachesTheClient",
                          {},
                          key(9, "v", kCommand),
                          {{"handled", false}, {"document", ""}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Examples ----------------------------------------------------------------------------------

TEST(SessionExamples, TabWithTwelveCandidatesVisitsRowsTwoThreeOne) {
  ScenarioSession s;
  json out = s.send(key(0, "t"));
  EXPECT_TRUE(matches(out, {{"panel", {{"activeRow", 0}, {"activeCol", 0}, {"tabHint", true}}}}));
  EXPECT_EQ(out["panel"]["rows"].size(), 1u);
  EXPECT_EQ(out["panel"]["rows"][0].size(), 5u);
  out = s.send(key(kTab, "\t"));
  EXPECT_EQ(out["panel"]["rows"].size(), 3u);
  EXPECT_TRUE(matches(out, {{"panel", {{"activeRow", 1}, {"activeCol", 0}}}}));
  out = s.send(key(kTab, "\t"));
  EXPECT_TRUE(matches(out, {{"panel", {{"activeRow", 2}, {"activeCol", 0}}}}));
  out = s.send(key(kTab, "\t"));
  EXPECT_TRUE(matches(out, {{"panel", {{"activeRow", 0}, {"activeCol", 0}}}}));
  EXPECT_EQ(out["panel"]["rows"].size(), 3u);
  // A digit picks in the highlighted row: row 3's second word is candidate 11.
  s.send(key(kTab, "\t"));
  s.send(key(kTab, "\t"));
  EXPECT_TRUE(matches(s.send(key(21, "4")), {{"handled", true}, {"document", ""}}));
  EXPECT_TRUE(matches(s.send(key(19, "2")), {{"handled", true}, {"document", "tam "}}));
}

TEST(SessionExamples, TabWithOneRowExpandsInPlace) {
  ScenarioSession s;
  s.send(key(0, "s"));
  EXPECT_TRUE(matches(s.send(key(kLeft, "")), {{"panel", {{"activeCol", 1}}}}));
  EXPECT_TRUE(matches(
      s.send(key(kTab, "\t")),
      {{"panel", {{"rows", kSunRow}, {"activeRow", 0}, {"activeCol", 0}, {"tabHint", false}}}}));
}

TEST(SessionExamples, DownShowsAllRowsAndMovingBackKeepsThem) {
  ScenarioSession s;
  s.send(key(0, "t"));
  json out = s.send(key(kDown, ""));
  EXPECT_EQ(out["panel"]["rows"].size(), 3u);
  EXPECT_TRUE(matches(out, {{"panel", {{"activeRow", 1}, {"activeCol", 0}, {"tabHint", false}}}}));
  out = s.send(key(kUp, ""));
  EXPECT_EQ(out["panel"]["rows"].size(), 3u);
  // Typing collapses the panel again with the best candidate highlighted.
  out = s.send(key(0, "a"));
  EXPECT_EQ(out["panel"]["rows"].size(), 1u);
  EXPECT_TRUE(matches(out, {{"panel", {{"activeCol", 0}, {"tabHint", true}}}}));
}

TEST(SessionExamples, MoreThanTwentyFiveCandidates) {
  ScenarioSession s;
  s.send(key(0, "m"));
  json out;
  for (int i = 0; i < 4; ++i)
    out = s.send(key(kDown, ""));
  ASSERT_EQ(out["panel"]["rows"].size(), 5u);
  for (const auto& row : out["panel"]["rows"])
    EXPECT_EQ(row.size(), 5u);
  EXPECT_EQ(out["panel"]["rows"][4][4], "may");  // the 25th of 30
  EXPECT_TRUE(matches(out, {{"panel", {{"activeRow", 4}, {"activeCol", 0}}}}));
  // Down from the last row stops at the last reachable candidate; Left cannot go past it.
  out = s.send(key(kDown, ""));
  EXPECT_TRUE(matches(out, {{"panel", {{"activeRow", 4}, {"activeCol", 4}}}}));
  out = s.send(key(kLeft, ""));
  EXPECT_TRUE(matches(out, {{"handled", true}, {"panel", {{"activeRow", 4}, {"activeCol", 4}}}}));
  EXPECT_TRUE(matches(s.send(key(kSpace, " ")), {{"document", "may "}}));
}

TEST(SessionExamples, PredictionsAfterAPick) {
  {
    ScenarioSession s;
    s.sendAll(kPicked);
    EXPECT_TRUE(
        matches(s.send(key(0, "t")), {{"handled", true}, {"document", "sun "}, {"marked", "t"}}));
  }
  {
    ScenarioSession s;
    s.sendAll(kPicked);
    EXPECT_TRUE(matches(s.send(key(kLeft, "")), {{"panel", {{"activeCol", 1}}}}));
    EXPECT_TRUE(matches(s.send(key(kSpace, " ")),
                        {{"handled", true}, {"document", "sun set "}, {"panel", kHidden}}));
  }
  {
    ScenarioSession s;
    s.sendAll(kPicked);
    // A chord reaches the client and takes the predictions with it.
    EXPECT_TRUE(matches(s.send(key(8, "c", kCommand)),
                        {{"handled", false}, {"document", "sun "}, {"panel", kHidden}}));
    EXPECT_TRUE(matches(s.send(key(19, "2")), {{"handled", false}, {"document", "sun 2"}}));
  }
  {
    // Without predictions the next word's candidates are those with them.
    ScenarioSession with, without;
    with.sendAll(kPicked);
    without.sendAll(concat({kPredictionsSwitch}, kPicked));
    EXPECT_EQ(without.send(key(1, "s"))["panel"], with.send(key(1, "s"))["panel"]);
  }
}

TEST(SessionExamples, ClicksPickShownCellsOnly) {
  ScenarioSession s;
  EXPECT_TRUE(matches(s.send(click(0)), {{"handled", nullptr}, {"document", ""}}));
  s.send(key(0, "t"));
  EXPECT_TRUE(matches(s.send(click(7)), {{"document", ""}, {"marked", "t"}}));   // row 2 hidden
  EXPECT_TRUE(matches(s.send(click(-1)), {{"document", ""}, {"marked", "t"}}));  // the hint
  s.send(key(kTab, "\t"));
  EXPECT_TRUE(matches(s.send(click(12)), {{"document", ""}}));  // no such cell
  json out = s.send(click(7));
  EXPECT_TRUE(matches(out, {{"handled", nullptr}, {"document", "tai "}, {"marked", ""}}));
  EXPECT_TRUE(matches(out, {{"panel", kHidden}}));
  s.sendAll(kPicked);
  EXPECT_TRUE(matches(s.send(click(2)), {{"document", "tai sun rise "}}));
}

TEST(SessionExamples, DirectInsertionWithoutDictionary) {
  ScenarioSession s(/*withDictionary=*/false);
  EXPECT_FALSE(s.session().hasEngine());
  EXPECT_TRUE(matches(s.send(key(0, "s")),
                      {{"handled", true}, {"document", "s"}, {"marked", ""}, {"panel", kHidden}}));
  EXPECT_TRUE(matches(s.send(key(18, "!")), {{"handled", false}, {"document", "s!"}}));
  EXPECT_TRUE(matches(s.send(key(kSpace, " ")), {{"handled", false}, {"document", "s! "}}));
  EXPECT_TRUE(matches(s.send(key(kDelete, "\x7f")), {{"handled", false}, {"document", "s!"}}));
  EXPECT_TRUE(matches(s.send(key(0, "a", kCommand)), {{"handled", false}, {"document", "s!"}}));
}

TEST(SessionLifecycle, ActivationAndDeactivation) {
  ScenarioSession s;
  EXPECT_TRUE(matches(s.send(kActivate), {{"handled", nullptr}, {"panel", kHidden}}));
  s.sendAll(typing("su"));
  EXPECT_TRUE(matches(s.send(kDeactivate), {{"handled", nullptr},
                                            {"document", "su"},
                                            {"marked", ""},
                                            {"selection", {0, 0}},
                                            {"panel", kHidden}}));
  // A hidden panel leaves the candidate keys inactive until the next update.
  EXPECT_TRUE(matches(s.send(key(kTab, "\t")), {{"handled", false}}));
  // Activation starts afresh: no word context from before.
  s.send(kActivate);
  EXPECT_TRUE(matches(s.send(key(kSpace, " ")), {{"handled", false}, {"document", "su "}}));
}

TEST(SessionProtocol, MalformedLinesAnswerWithTheUnchangedState) {
  ScenarioSession s;
  s.send(key(0, "s"));
  std::string error;
  for (const char* line : {"not json", "[1]", R"({"event":"jump"})", R"({"event":"key"})",
                           R"({"event":"key","keyCode":-1})", R"({"event":"click"})",
                           R"({"event":"key","keyCode":0,"characters":5})"}) {
    error.clear();
    auto out = s.session().handleLine(line, &error);
    ASSERT_TRUE(out) << line;
    EXPECT_FALSE(error.empty()) << line;
    EXPECT_TRUE(matches(json::parse(*out), {{"handled", nullptr}, {"marked", "s"}})) << line;
  }
  EXPECT_FALSE(s.session().handleLine("   ").has_value());
  EXPECT_TRUE(matches(s.send(R"({"event":"key","keyCode":0,"characters":null})"),
                      {{"handled", false}, {"document", "s"}}));
}

}  // namespace
}  // namespace ornav::session_testing
