// Marked text, commits, picks, the panel and what the crash reporter is told along the way.
#include <gtest/gtest.h>

#include "core/controller_test_support.h"

namespace ornav {
namespace {

using controller_testing::ControllerFixture;
using controller_testing::press;
using controller_testing::RecordingClient;

class CompositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.engineState.words = {"ئالما", "ئالمىلار", "ئات"};
    fx.engineState.predictions["ئالما"] = {"دەرىخى", "باغ"};
    fx.setKeys({{"a", "ا"}, {"l", "ل"}, {"m", "م"}, {"'", "ئ"}, {"t", "ت"}});
    controller = fx.makeController(&client);
  }
  ControllerFixture fx;
  RecordingClient client;
  std::shared_ptr<OrnavInputController> controller;
};

TEST_F(CompositionTest, OneLetterShowsUnderlinedRightToLeftMarkedTextAndOneRow) {
  ASSERT_TRUE(press(*controller, &client, 39, "'"));
  ASSERT_EQ(client.markedCalls.size(), 1u);
  const auto& call = client.markedCalls[0];
  EXPECT_EQ(call.text.text, "ئ");
  EXPECT_EQ(call.text.underline, UnderlineStyle::single);
  EXPECT_EQ(call.text.paragraphDirection, WritingDirection::rightToLeft);
  EXPECT_EQ(call.text.paragraphAlignment, TextAlignment::right);
  EXPECT_EQ(call.text.embeddingDirection, WritingDirection::rightToLeft);
  EXPECT_EQ(call.selection, (TextRange{1, 0}));
  EXPECT_EQ(call.replacement, (TextRange{TextRange::kNotFound, 0}));

  ASSERT_EQ(fx.panels.size(), 1u);
  const auto& update = fx.panels[0]->updates.back();
  EXPECT_EQ(update.rows, (CandidateRows{{"ئالما", "ئالمىلار", "ئات"}}));
  EXPECT_EQ(update.activeRow, 0);
  EXPECT_EQ(update.activeCol, 0);
  EXPECT_FALSE(update.showTabHint);
  EXPECT_EQ(update.near, (Rect{100, 200, 2, 18}));

  EXPECT_EQ(fx.stageNames(),
            (std::vector<std::string>{"marked-text-set", "panel-refresh", "cursor-rect"}));
  EXPECT_EQ(fx.stages[0].second,
            (StageDetails{{"host", "com.example.editor"}, {"bufferLength", "1"}}));
  EXPECT_EQ(
      fx.stages[1].second,
      (StageDetails{
          {"host", "com.example.editor"}, {"count", "3"}, {"expanded", "0"}, {"highlight", "0"}}));
  EXPECT_EQ(fx.stages[2].second, (StageDetails{{"host", "com.example.editor"}, {"index", "0"}}));
}

TEST_F(CompositionTest, SelectionCountsGraphemeClustersNotBytes) {
  press(*controller, &client, 39, "'");
  press(*controller, &client, 0, "a");
  press(*controller, &client, 37, "l");
  EXPECT_EQ(client.markedCalls.back().text.text, "ئال");
  EXPECT_EQ(client.markedCalls.back().selection, (TextRange{3, 0}));
  EXPECT_EQ(fx.stages[fx.stages.size() - 3].second.at("bufferLength"), "3");
}

TEST_F(CompositionTest, PickInsertsWordAndSpaceThenShowsPredictions) {
  press(*controller, &client, 39, "'");
  fx.stages.clear();
  ASSERT_TRUE(press(*controller, &client, 49, " "));
  EXPECT_EQ(client.inserts, (std::vector<std::string>{"ئالما "}));
  EXPECT_EQ(client.marked(), "");
  EXPECT_EQ(client.markedCalls.back().selection, (TextRange{0, 0}));
  EXPECT_EQ(fx.engineState.picks["ئالما"], 1);
  EXPECT_EQ(fx.panels[0]->updates.back().rows, (CandidateRows{{"دەرىخى", "باغ"}}));
  EXPECT_EQ(fx.stageNames()[0], "select-candidate");
  EXPECT_EQ(fx.stages[0].second,
            (StageDetails{{"host", "com.example.editor"}, {"index", "0"}, {"textLength", "5"}}));
  EXPECT_EQ(fx.stageNames()[1], "insert-text");
  EXPECT_EQ(fx.stages[1].second.at("length"), "6");
  EXPECT_EQ(fx.stageNames()[2], "marked-text-clear");
}

TEST_F(CompositionTest, PredictionsSwitchedOffShowNothingButKeepTheContext) {
  fx.services.predictions = false;
  press(*controller, &client, 39, "'");
  fx.engineState.candidateReads = 0;
  ASSERT_TRUE(press(*controller, &client, 49, " "));
  EXPECT_EQ(client.inserted(), "ئالما ");
  EXPECT_FALSE(fx.panels[0]->visible);
  EXPECT_EQ(fx.engineState.candidateReads, 0);
  EXPECT_EQ(fx.engineState.context, "ئالما");
}

TEST_F(CompositionTest, NoPredictionsHidesThePanel) {
  press(*controller, &client, 39, "'");
  press(*controller, &client, 0, "a");
  press(*controller, &client, 17, "t");
  press(*controller, &client, 49, " ");
  EXPECT_EQ(client.inserted(), "ئات ");
  EXPECT_FALSE(fx.panels[0]->visible);
  EXPECT_EQ(fx.panels[0]->hides, 1);
}

TEST_F(CompositionTest, ThePanelIsMadeOnlyWhenThereIsSomethingToShow) {
  fx.addKey("q", "ق");
  press(*controller, &client, 12, "q");  // no candidates for ق
  press(*controller, &client, 36, "\r");
  press(*controller, &client, 51, "\x7f");
  EXPECT_TRUE(fx.panels.empty());
  EXPECT_EQ(client.inserted(), "ق ");
}

TEST_F(CompositionTest, ClickPicksInTheControllersClientAndIsIgnoredOnceItIsGone) {
  press(*controller, &client, 39, "'");
  auto onPick = fx.panels[0]->onPick;
  onPick(2);
  EXPECT_EQ(client.inserted(), "ئات ");
  controller->setClient(nullptr);
  onPick(0);
  EXPECT_EQ(client.inserted(), "ئات ");
  controller.reset();
  onPick(0);
  EXPECT_EQ(client.inserts.size(), 1u);
}

TEST_F(CompositionTest, ClientWithoutBundleOrLineRect) {
  client.bundleID.reset();
  client.lineRect.reset();
  press(*controller, &client, 39, "'");
  EXPECT_EQ(fx.stages[0].second.at("host"), "");
  EXPECT_EQ(fx.panels[0]->updates.back().near, Rect{});
  EXPECT_EQ(fx.panels[0]->updates.back().clientWindowLevel, std::nullopt);
}

TEST_F(CompositionTest, ThePanelLearnsTheLevelOfTheClientsWindowAtEachUpdate) {
  client.level = 1000;
  press(*controller, &client, 39, "'");
  EXPECT_EQ(fx.panels[0]->updates.back().clientWindowLevel, 1000);
  client.level = 3;
  press(*controller, &client, 0, "a");
  EXPECT_EQ(fx.panels[0]->updates.back().clientWindowLevel, 3);
}

TEST_F(CompositionTest, CommitComposingWithEmptyBufferDoesNothing) {
  controller->commitComposing(&client);
  controller->insert("", &client);
  EXPECT_TRUE(fx.stages.empty());
  EXPECT_TRUE(client.inserts.empty());
  EXPECT_TRUE(client.markedCalls.empty());
}

TEST_F(CompositionTest, PickCandidateTrustsItsIndexAndInsertsTheSpaceAlone) {
  press(*controller, &client, 39, "'");
  controller->pickCandidate(40, &client);
  EXPECT_EQ(client.inserted(), " ");
}

TEST(DirectInsertion, MappedKeysInsertDirectlyAndUnmappedPassThrough) {
  ControllerFixture fx;
  fx.withEngine = false;
  fx.setKeys({{"a", "ا"}});
  RecordingClient client;
  auto controller = fx.makeController(&client);
  EXPECT_FALSE(controller->hasEngine());
  EXPECT_TRUE(press(*controller, &client, 0, "a"));
  EXPECT_FALSE(press(*controller, &client, 11, "b"));
  EXPECT_FALSE(press(*controller, &client, 49, " "));
  EXPECT_FALSE(press(*controller, &client, 122, std::nullopt));
  EXPECT_EQ(client.inserts, (std::vector<std::string>{"ا"}));
  EXPECT_TRUE(client.markedCalls.empty());
  EXPECT_TRUE(fx.panels.empty());
  ASSERT_EQ(fx.stageNames(), (std::vector<std::string>{"direct-insert"}));
  EXPECT_EQ(fx.stages[0].second,
            (StageDetails{{"host", "com.example.editor"}, {"length", "1"}, {"keyCode", "0"}}));
  controller->updateUI(&client);
  controller->commitComposing(&client);
  controller->pickCandidate(0, &client);
  EXPECT_EQ(client.inserts.size(), 1u);
}

}  // namespace
}  // namespace ornav
