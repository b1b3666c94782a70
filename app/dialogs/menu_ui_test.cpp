// What MenuUI does across its windows: the consent prompt, windows of different kinds open
// together, the shared action target, and completions that outlive it.
#include <gtest/gtest.h>

#include "dialogs/about_window.h"
#include "dialogs/dialog_test_support.h"
#include "dialogs/feedback_window.h"
#include "dialogs/update_window.h"
#include "dialogs/welcome_window.h"

namespace ornav {
namespace {

using dialog_testing::DialogFixture;
using dialog_testing::FakeDialogServices;

const std::string kConsentText =
    "开启后，你常用的词与使用频次会匿名上传，用于改进云端词库。上传数据不含输入的完整内容，仅含词条"
    "与次数，且与设备匿名标识关联。是否同意？";

class MenuUITest : public ::testing::Test {
 protected:
  DialogFixture fx;
};

TEST_F(MenuUITest, ConsentIsAskedAfterTheCallerReturned) {
  std::vector<bool> answers;
  fx.ui.confirmUploadConsent([&](bool agreed) { answers.push_back(agreed); });
  EXPECT_TRUE(fx.alerts.shown.empty());
  EXPECT_TRUE(answers.empty());

  fx.mainQueue.drain();
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, AlertDescription::Style::informational);
  EXPECT_EQ(fx.lastAlert().message, "上传我的输入习惯");
  EXPECT_EQ(fx.lastAlert().informativeText, kConsentText);
  EXPECT_EQ(fx.lastAlert().buttons, (std::vector<std::string>{"同意并上传", "取消"}));
  EXPECT_TRUE(fx.everyAlertActivated());
  EXPECT_EQ(answers, std::vector<bool>{true});
}

TEST_F(MenuUITest, ConsentIsTrueOnlyForTheFirstButton) {
  std::vector<bool> answers;
  fx.alerts.answers = {1, -1, 0};  // cancel, dismissed without a button, agree
  for (int i = 0; i < 3; ++i) {
    fx.ui.confirmUploadConsent([&](bool agreed) { answers.push_back(agreed); });
    fx.mainQueue.drain();
  }
  EXPECT_EQ(answers, (std::vector<bool>{false, false, true}));
}

TEST_F(MenuUITest, AboutAndFeedbackOpenTogether) {
  fx.ui.showAbout();
  fx.ui.sendFeedback();
  auto* about = fx.window(about_window::kTitle);
  auto* feedback = fx.window(feedback_window::kTitle);
  ASSERT_NE(about, nullptr);
  ASSERT_NE(feedback, nullptr);
  EXPECT_TRUE(about->visible);
  EXPECT_TRUE(feedback->visible);
  // Closing one leaves the other.
  feedback->press(DialogAction::closeFeedback);
  EXPECT_TRUE(about->visible);
  EXPECT_FALSE(about->closed);
}

TEST_F(MenuUITest, TheActionTargetReachesTheEntryPoints) {
  fx.ui.perform(DialogAction::about);
  EXPECT_NE(fx.window(about_window::kTitle), nullptr);
  fx.ui.perform(DialogAction::welcome);
  EXPECT_NE(fx.window(welcome_window::kTitle), nullptr);
  fx.ui.perform(DialogAction::feedback);
  EXPECT_NE(fx.window(feedback_window::kTitle), nullptr);
  fx.ui.perform(DialogAction::checkUpdate);
  EXPECT_EQ(fx.services.checks.size(), 1u);
  EXPECT_EQ(fx.windows.windows.size(), 3u);

  fx.ui.perform(DialogAction::closeWelcome);
  EXPECT_TRUE(fx.window(welcome_window::kTitle)->closed);
  fx.ui.perform(DialogAction::closeFeedback);
  EXPECT_TRUE(fx.window(feedback_window::kTitle)->closed);
  fx.ui.perform(DialogAction::submitFeedback);
  EXPECT_EQ(fx.services.feedbacks.size(), 1u);
  fx.ui.perform(DialogAction::openFeedbackPage);
  EXPECT_EQ(fx.urls.opened.size(), 1u);
  fx.alerts.answers = {1};
  fx.ui.perform(DialogAction::openSetupGuide);
  EXPECT_EQ(fx.lastAlert().message, "如何把输入法加到系统里");

  fx.services.checks[0](UpdateResult::available(UpdateInfo{"2.0", "", "", "", "", {}}));
  fx.ui.perform(DialogAction::startInAppUpdate);
  EXPECT_EQ(fx.services.installs.size(), 1u);
  fx.ui.perform(DialogAction::closeUpdate);
  EXPECT_TRUE(fx.window(update_window::kTitle)->closed);
}

TEST_F(MenuUITest, AClosedWindowIsReleasedOnlyAfterItsButtonHasReturned) {
  fx.ui.sendFeedback();
  auto* window = fx.window(feedback_window::kTitle);
  window->press(DialogAction::closeFeedback);
  EXPECT_TRUE(window->closed);
  EXPECT_FALSE(window->released);
  fx.mainQueue.drain();
  EXPECT_TRUE(window->released);
}

TEST_F(MenuUITest, AnswersArrivingAfterMenuUIWentAwayAreDropped) {
  testing::RecordingWindowSystem windows;
  testing::ScriptedAlerts alerts;
  testing::RecordingUrlOpener urls;
  testing::ManualMainQueue mainQueue;
  FakeDialogServices services;
  bool answered = false;
  {
    MenuUI ui(MenuUIPorts{&windows, &alerts, &urls, &mainQueue, nullptr, {}, {}, {}}, services);
    ui.checkForUpdates();
    ui.sendFeedback();
    ui.submitFeedback();
    ui.confirmUploadConsent([&](bool) { answered = true; });
  }
  services.checks.at(0)(UpdateResult::upToDate());
  services.feedbacks.at(0).completion(FeedbackResult::failure("x"));
  mainQueue.drain();
  EXPECT_TRUE(alerts.shown.empty());
  EXPECT_FALSE(answered);
  EXPECT_TRUE(windows.windows.at(0)->released);
}

}  // namespace
}  // namespace ornav
