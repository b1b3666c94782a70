// Key handling details beyond the decision table (which the session tests drive row by row):
// the optional "initial" and "punctuation" tables of the key map, and events that pass through.
#include <gtest/gtest.h>

#include "core/controller_test_support.h"

namespace ornav {
namespace {

using controller_testing::ControllerFixture;
using controller_testing::press;
using controller_testing::RecordingClient;

class ExtraTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.engineState.words = {"ئالما", "ئات", "ئەمدى", "ئاتا"};
    fx.engineState.predictions["ئات"] = {"بىلەن"};
    fx.setKeys({{"a", "ا"}, {"t", "ت"}, {"e", "ە"}, {",", "،"}},
               KeyMapExtras{{{"a", "ئا"}, {"e", "ئە"}}, {{",", "،"}, {"?", "؟"}}});
    controller = fx.makeController(&client);
  }
  ControllerFixture fx;
  RecordingClient client;
  std::shared_ptr<OrnavInputController> controller;
};

TEST_F(ExtraTablesTest, InitialFormOnlyStartsAWord) {
  EXPECT_TRUE(press(*controller, &client, 0, "a"));
  EXPECT_EQ(fx.engineState.buffer, "ئا");
  EXPECT_TRUE(press(*controller, &client, 17, "t"));
  EXPECT_TRUE(press(*controller, &client, 0, "a"));
  EXPECT_EQ(fx.engineState.buffer, "ئاتا");
}

TEST_F(ExtraTablesTest, InitialFormAlsoAfterAPick) {
  press(*controller, &client, 0, "a");
  press(*controller, &client, 17, "t");
  press(*controller, &client, 49, " ");
  ASSERT_EQ(client.inserted(), "ئات ");
  press(*controller, &client, 14, "e");
  EXPECT_EQ(fx.engineState.buffer, "ئە");
}

TEST_F(ExtraTablesTest, PunctuationCommitsAsTypedThenInsertsTheMark) {
  press(*controller, &client, 0, "a");
  press(*controller, &client, 17, "t");
  EXPECT_TRUE(press(*controller, &client, 43, ","));
  EXPECT_EQ(client.inserts, (std::vector<std::string>{"ئات", "،"}));
  EXPECT_EQ(fx.engineState.buffer, "");
  EXPECT_TRUE(press(*controller, &client, 44, "?", ModifierFlag::kShift));
  EXPECT_EQ(client.inserts.back(), "؟");
}

TEST_F(ExtraTablesTest, PunctuationAfterAPickKeepsTheSpaceForDeleteToRemove) {
  press(*controller, &client, 0, "a");
  press(*controller, &client, 17, "t");
  press(*controller, &client, 49, " ");
  // Delete reaches the client (removing the space) and dismisses the predictions.
  EXPECT_FALSE(press(*controller, &client, 51, "\x7f"));
  EXPECT_FALSE(fx.panels[0]->visible);
  EXPECT_TRUE(press(*controller, &client, 43, ","));
  EXPECT_EQ(client.inserts, (std::vector<std::string>{"ئات ", "،"}));
}

TEST_F(ExtraTablesTest, DirectInsertionUsesPunctuationButNotInitialForms) {
  ControllerFixture direct;
  direct.withEngine = false;
  direct.keys = fx.keys;
  RecordingClient other;
  auto plain = direct.makeController(&other);
  EXPECT_TRUE(press(*plain, &other, 0, "a"));
  EXPECT_TRUE(press(*plain, &other, 44, "?", ModifierFlag::kShift));
  EXPECT_EQ(other.inserts, (std::vector<std::string>{"ا", "؟"}));
}

TEST_F(ExtraTablesTest, SelectionDigitsWinOverTheTables) {
  KeyMapExtras extras = fx.keys.extras();
  extras.punctuation["2"] = "٢";
  fx.setKeys(fx.keys.arabic(), extras);
  press(*controller, &client, 0, "a");
  EXPECT_TRUE(press(*controller, &client, 19, "2"));
  EXPECT_EQ(client.inserted(), "ئات ");
}

TEST(KeyPassThrough, EventsTheControllerDoesNotTake) {
  ControllerFixture fx;
  fx.engineState.words = {"ab"};
  fx.setKeys({{"a", "a"}});
  RecordingClient client;
  auto controller = fx.makeController(&client);
  ASSERT_TRUE(press(*controller, &client, 0, "a"));
  KeyEvent flags = controller_testing::keyDown(56, std::nullopt, ModifierFlag::kShift);
  flags.type = KeyEventType::flagsChanged;
  EXPECT_FALSE(controller->handle(&flags, &client));
  EXPECT_FALSE(controller->handle(nullptr, &client));
  EXPECT_EQ(fx.engineState.buffer, "a");  // nothing committed by those
  // A chord commits as typed, without a space, and reaches the client.
  EXPECT_FALSE(press(*controller, &client, 1, "s", ModifierFlag::kCommand));
  EXPECT_EQ(client.inserted(), "a");
  EXPECT_EQ(client.marked(), "");
}

// A letter costs one read of the buffer and one of the candidates: what the client shows is
// known from the last update, and the panel gets the grid's content as it is.
TEST(KeystrokeCost, ALetterReadsTheEngineOnce) {
  ControllerFixture fx;
  fx.engineState.words = {"ab", "abc"};
  fx.setKeys({{"a", "a"}, {"b", "b"}});
  RecordingClient client;
  auto controller = fx.makeController(&client);
  press(*controller, &client, 0, "a");
  fx.engineState.bufferReads = 0;
  fx.engineState.candidateReads = 0;
  press(*controller, &client, 11, "b");
  EXPECT_EQ(fx.engineState.bufferReads, 1);
  EXPECT_EQ(fx.engineState.candidateReads, 1);
  EXPECT_EQ(client.marked(), "ab");
}

}  // namespace
}  // namespace ornav
