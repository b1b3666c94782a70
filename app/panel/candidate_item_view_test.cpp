// One cell: its size and labels with and without a digit and a fixed width, its clicks, and the
// marquee of a word too wide for a fixed-width cell, in virtual time.
#include "panel/candidate_item_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/fake_ui.h"
#include "testing/manual_main_queue.h"

namespace ornav {
namespace {

using testing::FakeTextMeasurer;
using testing::ManualMainQueue;

// With a 1-point font and an advance of 1, a word of n letters is n points wide and 1.25 high.
class ItemViewTest : public ::testing::Test {
 protected:
  ItemViewTest() { measurer.advance = 1; }

  CandidateItemView cell(const std::string& word, const std::string& label = "",
                         std::optional<double> fixedWidth = std::nullopt, bool dim = false,
                         bool isHint = false) {
    return CandidateItemView(3, label, word, Font::named("Word", 1), dim, isHint, fixedWidth,
                             measurer);
  }
  // One tick per call: the queue's time moves exactly one interval.
  void tick() { queue.advance(Seconds(CandidateItemView::kScrollInterval)); }

  FakeTextMeasurer measurer;
  ManualMainQueue queue;
};

TEST_F(ItemViewTest, ACellWithoutFixedWidthFitsItsTexts) {
  const CandidateItemView plain = cell(std::string(20, 'a'));
  EXPECT_EQ(plain.size(), (Size{32, 7.25}));  // 6 + 20 + 6 by 1.25 + 6
  EXPECT_EQ(plain.wordWidth(), 20);

  // The digit's font is 0.6 × the word's: 0.6 points, so "2" is 0.6 wide.
  const CandidateItemView digit = cell(std::string(20, 'a'), "2");
  EXPECT_DOUBLE_EQ(digit.size().width, 6 + 0.6 + 4 + 20 + 6);
  EXPECT_EQ(digit.size().height, 7.25);
}

TEST_F(ItemViewTest, LabelsSitAtTheirMarginsInCellCoordinates) {
  const CandidateItemView view = cell(std::string(20, 'a'), "2");
  const PanelCell drawn = view.describe({100, 50, 36.6, 7.25});
  EXPECT_EQ(drawn.frame, (Rect{100, 50, 36.6, 7.25}));
  EXPECT_EQ(drawn.globalIndex, 3);
  EXPECT_FALSE(drawn.isHint);
  EXPECT_FALSE(drawn.highlighted);
  EXPECT_EQ(drawn.background, Color::clear());
  EXPECT_EQ(drawn.cornerRadius, 4);
  // The word's right edge 6 inside the cell's, 3 from the bottom.
  EXPECT_DOUBLE_EQ(drawn.word.frame.x, 36.6 - 6 - 20);
  EXPECT_EQ(drawn.word.frame.y, 3);
  EXPECT_EQ(drawn.word.frame.width, 20);
  EXPECT_EQ(drawn.word.frame.height, 1.25);
  EXPECT_EQ(drawn.word.text, std::string(20, 'a'));
  EXPECT_EQ(drawn.word.font, Font::named("Word", 1));
  EXPECT_EQ(drawn.word.color, Color::white(1));
  // The digit 6 from the left edge, centred vertically, grey, in the system font at 0.6 ×.
  ASSERT_TRUE(drawn.digit.has_value());
  EXPECT_EQ(drawn.digit->text, "2");
  EXPECT_EQ(drawn.digit->frame.x, 6);
  EXPECT_DOUBLE_EQ(drawn.digit->frame.y, (7.25 - 0.75) / 2);
  EXPECT_DOUBLE_EQ(drawn.digit->frame.width, 0.6);
  EXPECT_DOUBLE_EQ(drawn.digit->frame.height, 0.75);
  EXPECT_EQ(drawn.digit->font.name, "");
  EXPECT_DOUBLE_EQ(drawn.digit->font.pointSize, 0.6);
  EXPECT_EQ(drawn.digit->color, Color::white(0.55));
}

TEST_F(ItemViewTest, WithoutADigitThereIsNoDigitLabelAndTheWordStartsSixIn) {
  const CandidateItemView view = cell("abcd");
  const PanelCell drawn = view.describe({0, 0, view.size().width, view.size().height});
  EXPECT_FALSE(drawn.digit.has_value());
  EXPECT_EQ(drawn.word.frame.x, 6);
}

TEST_F(ItemViewTest, DimWordsAreGreyAndTheDigitSizeFollowsAnEighteenPointWord) {
  const CandidateItemView view = cell("abc", "", std::nullopt, /*dim=*/true);
  EXPECT_EQ(view.describe({}).word.color, Color::white(0.72));
  EXPECT_TRUE(view.describe({}).dim);

  measurer.advance = 0.5;
  const CandidateItemView big(0, "1", "sun", Font::named("Word", 18), false, false, std::nullopt,
                              measurer);
  const PanelCell drawn = big.describe({});
  EXPECT_EQ(drawn.digit->font.pointSize, 10.8);  // exactly
  EXPECT_EQ(drawn.digit->frame.width, 5.4);
}

TEST_F(ItemViewTest, AFixedWidthCellKeepsItsWidthAndATooWideWordIsCutRightOfTheDigit) {
  const CandidateItemView view = cell(std::string(120, 'a'), "3", 96.0);
  EXPECT_EQ(view.size(), (Size{96, 7.25}));
  const PanelCell drawn = view.describe({0, 0, 96, 7.25});
  EXPECT_EQ(drawn.word.frame.x, 96 - 6 - 120);  // -30: clipped to its area
  EXPECT_EQ(drawn.word.frame.width, 120);
  // The area starts 4 points right of the digit and runs to the cell's right edge.
  EXPECT_EQ(drawn.wordArea, (Rect{6 + 0.6 + 4, 0, 96 - 10.6, 7.25}));
}

TEST_F(ItemViewTest, ClicksCallOnClickOnceExceptOnTheHint) {
  int clicks = 0;
  CandidateItemView view = cell("abc");
  view.mouseDown();  // no callback: nothing
  view.setOnClick([&] { ++clicks; });
  view.mouseDown();
  EXPECT_EQ(clicks, 1);

  CandidateItemView hint = cell("Tab ▾", "", std::nullopt, true, /*isHint=*/true);
  hint.setOnClick([&] { ++clicks; });
  hint.mouseDown();
  EXPECT_EQ(clicks, 1);
}

TEST_F(ItemViewTest, NoMarqueeWithoutAFixedWidthOrWithinTwoPoints) {
  CandidateItemView sized = cell(std::string(300, 'a'));
  sized.startScrollIfNeeded(queue, nullptr);
  EXPECT_FALSE(sized.isScrolling());

  // 86 - (96 - 12) = 2: not more than 2.
  CandidateItemView tie = cell(std::string(86, 'a'), "", 96.0);
  tie.startScrollIfNeeded(queue, nullptr);
  EXPECT_FALSE(tie.isScrolling());
  EXPECT_TRUE(queue.timerIntervals().empty());

  // 87: overflow 3, scrolled.
  CandidateItemView over = cell(std::string(87, 'a'), "", 96.0);
  over.startScrollIfNeeded(queue, nullptr);
  EXPECT_TRUE(over.isScrolling());
  ASSERT_EQ(queue.timerIntervals().size(), 1u);
  EXPECT_DOUBLE_EQ(queue.timerIntervals()[0].count(), 0.03);

  // A digit takes its width and gap from the room (96 - 6 - 10.6 = 79.4): overflow 1.6, 2.6.
  for (const auto& [letters, scrolls] : {std::pair{81, false}, std::pair{82, true}}) {
    CandidateItemView withDigit = cell(std::string(letters, 'a'), "1", 96.0);
    withDigit.startScrollIfNeeded(queue, nullptr);
    EXPECT_EQ(withDigit.isScrolling(), scrolls) << letters;
  }
}

TEST_F(ItemViewTest, TheMarqueeRunsToTheOverflowAndBackInSteps) {
  // 120 - 84 = 36 points of overflow: 60 steps of 0.6 each way.
  CandidateItemView view = cell(std::string(120, 'a'), "", 96.0);
  std::vector<double> offsets;
  view.startScrollIfNeeded(queue, [&](double offset) { offsets.push_back(offset); });
  EXPECT_EQ(view.wordLeading(), -6);

  for (int step = 1; step <= 59; ++step) {
    tick();
    ASSERT_NEAR(view.wordLeading(), -6 + 0.6 * step, 1e-9) << step;
  }
  EXPECT_LT(view.wordLeading(), 30);
  tick();  // the 60th step reaches the end exactly
  EXPECT_EQ(view.wordLeading(), 30);
  tick();  // and turns at once
  EXPECT_NEAR(view.wordLeading(), 29.4, 1e-9);
  for (int step = 2; step <= 59; ++step)
    tick();
  EXPECT_GT(view.wordLeading(), -6);
  tick();
  EXPECT_EQ(view.wordLeading(), -6);
  tick();
  EXPECT_NEAR(view.wordLeading(), -5.4, 1e-9);

  ASSERT_EQ(offsets.size(), 121u);
  EXPECT_EQ(offsets[59], 36);  // offsets are the constant's distance from rest
  EXPECT_EQ(offsets[119], 0);
}

TEST_F(ItemViewTest, TheMarqueeTurnsAtEndsItsStepsFallJustShortOf) {
  // 90 - 84 = 6 points: ten steps of 0.6 add up to a little less than 6, and back to a little
  // more than 0; each end is still reached on the tenth step.
  CandidateItemView view = cell(std::string(90, 'a'), "", 96.0);
  view.startScrollIfNeeded(queue, nullptr);
  for (int step = 1; step <= 10; ++step)
    tick();
  EXPECT_EQ(view.wordLeading(), 0);
  for (int step = 1; step <= 10; ++step)
    tick();
  EXPECT_EQ(view.wordLeading(), -6);
}

TEST_F(ItemViewTest, StoppingPutsTheWordBackAndEndsTheTimer) {
  CandidateItemView view = cell(std::string(120, 'a'), "", 96.0);
  std::vector<double> offsets;
  view.startScrollIfNeeded(queue, [&](double offset) { offsets.push_back(offset); });
  for (int i = 0; i < 10; ++i)
    tick();
  view.stopScroll();
  EXPECT_FALSE(view.isScrolling());
  EXPECT_EQ(view.wordLeading(), -6);
  EXPECT_EQ(offsets.back(), 0);
  EXPECT_TRUE(queue.timerIntervals().empty());
  const std::size_t reported = offsets.size();
  queue.advance(Seconds(1));
  EXPECT_EQ(offsets.size(), reported);
  // A cell at rest reports nothing when stopped again.
  view.stopScroll();
  EXPECT_EQ(offsets.size(), reported);
}

TEST_F(ItemViewTest, ADiscardedCellStopsItsTimer) {
  int ticks = 0;
  {
    CandidateItemView view = cell(std::string(120, 'a'), "", 96.0);
    view.startScrollIfNeeded(queue, [&](double) { ++ticks; });
    tick();
  }
  EXPECT_EQ(ticks, 1);
  queue.advance(Seconds(1));
  EXPECT_EQ(ticks, 1);
  EXPECT_TRUE(queue.timerIntervals().empty());
}

}  // namespace
}  // namespace ornav
