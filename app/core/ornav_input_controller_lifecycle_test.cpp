// Activation, deactivation, the input menu, uploads and the cloud dictionary.
#include <gtest/gtest.h>

#include "core/controller_test_support.h"

namespace ornav {
namespace {

using controller_testing::ControllerFixture;
using controller_testing::keyDown;
using controller_testing::press;
using controller_testing::RecordingClient;

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.engineState.words = {"alma", "almas", "bala"};
    fx.setKeys({{"a", "a"}, {"l", "l"}, {"m", "m"}, {"b", "b"}});
    fx.engineState.userFreqExport = "alma\t2\n";
    fx.services.consent = true;  // a user who agreed to uploads
  }
  ControllerFixture fx;
  RecordingClient client;
};

TEST_F(LifecycleTest, ActivationRunsItsStepsInOrder) {
  auto controller = fx.makeController(&client);
  fx.engineState.context = "old";
  fx.engineState.buffer = "x";
  controller->activateServer(&client);
  EXPECT_EQ(fx.logLines,
            (std::vector<std::string>{"InputController 被实例化", "activateServer: 输入法被激活"}));
  EXPECT_EQ(fx.clientApps, (std::vector<std::optional<std::string>>{"com.example.editor"}));
  ASSERT_EQ(fx.stageNames(), (std::vector<std::string>{"activate-server"}));
  EXPECT_EQ(fx.stages[0].second, (StageDetails{{"host", "com.example.editor"}}));
  EXPECT_EQ(fx.engineState.buffer, "");
  EXPECT_EQ(fx.engineState.context, "");
  EXPECT_TRUE(fx.env->process.uploadTimer);
  EXPECT_EQ(fx.env->process.uploadTimerOwner.lock(), controller);
  ASSERT_EQ(fx.services.uploads.size(), 1u);
  EXPECT_FALSE(fx.services.uploads[0].force);
  // The notices wait until activation has returned, pending-install first.
  EXPECT_TRUE(fx.menuUI.calls.empty());
  fx.mainQueue.drain();
  EXPECT_EQ(fx.menuUI.calls,
            (std::vector<std::string>{"showPendingInstallNoticeIfNeeded", "showWelcomeIfNeeded"}));
}

TEST_F(LifecycleTest, NothingIsUploadedBeforeTheUserAgrees) {
  fx.services.consent.reset();  // a fresh installation
  auto controller = fx.makeController(&client);
  controller->activateServer(&client);
  fx.mainQueue.advance(Seconds(kUserDictUploadInterval));
  EXPECT_TRUE(fx.services.uploads.empty());
  const MenuDescription menu = controller->menu();
  const auto item = std::find_if(menu.items.begin(), menu.items.end(), [](const MenuItem& i) {
    return i.action == InputMenuAction::toggleUploadConsent;
  });
  ASSERT_NE(item, menu.items.end());
  EXPECT_EQ(item->state, MenuItem::State::off);
}

TEST_F(LifecycleTest, ActivationWithoutClientOrEngineSkipsThoseSteps) {
  fx.withEngine = false;
  auto controller = fx.makeController(&client);
  controller->activateServer(nullptr);
  EXPECT_TRUE(fx.clientApps.empty());
  EXPECT_TRUE(fx.stages.empty());
  EXPECT_TRUE(fx.services.uploads.empty());  // no engine: nothing to upload, silently
  EXPECT_TRUE(fx.env->process.uploadTimer);
  EXPECT_EQ(fx.logLines.back(), "activateServer: 输入法被激活");
}

TEST_F(LifecycleTest, TenActivationsMakeOneTimer) {
  auto controller = fx.makeController(&client);
  for (int i = 0; i < 10; ++i)
    controller->activateServer(&client);
  EXPECT_EQ(fx.mainQueue.timerIntervals(), std::vector<Seconds>{Seconds(1800)});
}

TEST_F(LifecycleTest, TwoControllersShareTheTimerAndTheLastActivatedOwnsIt) {
  RecordingClient second;
  second.bundleID = "com.example.mail";
  auto first = fx.makeController(&client);
  auto other = fx.makeController(&second);
  first->activateServer(&client);
  other->activateServer(&second);
  EXPECT_EQ(fx.mainQueue.timerIntervals().size(), 1u);
  EXPECT_EQ(fx.env->process.uploadTimerOwner.lock(), other);

  fx.services.uploads.clear();
  fx.mainQueue.advance(Seconds(kUserDictUploadInterval));
  ASSERT_EQ(fx.services.uploads.size(), 1u);

  // Releasing the first changes nothing; releasing the owner leaves the timer ticking idly.
  first.reset();
  fx.mainQueue.advance(Seconds(kUserDictUploadInterval));
  EXPECT_EQ(fx.services.uploads.size(), 2u);
  other.reset();
  fx.mainQueue.advance(Seconds(kUserDictUploadInterval));
  EXPECT_EQ(fx.services.uploads.size(), 2u);
  EXPECT_EQ(fx.mainQueue.timerIntervals().size(), 1u);  // still ticking
}

TEST_F(LifecycleTest, DeactivationCommitsAsTypedResetsAndHides) {
  auto controller = fx.makeController(&client);
  controller->activateServer(&client);
  press(*controller, &client, 0, "a");
  press(*controller, &client, 37, "l");
  ASSERT_TRUE(fx.panels.at(0)->visible);
  fx.stages.clear();
  controller->deactivateServer(&client);
  EXPECT_EQ(client.inserted(), "al");
  EXPECT_EQ(client.marked(), "");
  EXPECT_FALSE(fx.panels[0]->visible);
  EXPECT_EQ(fx.stageNames().front(), "deactivate-server");
  EXPECT_EQ(fx.stageNames()[1], "commit-composing");
  EXPECT_EQ(fx.logLines.back(), "deactivateServer: 输入法被切走");
  // Candidates stay until the next update, but a hidden panel disables the candidate keys.
  EXPECT_FALSE(press(*controller, &client, 48, "\t"));
}

TEST_F(LifecycleTest, MenuShowsCurrentSettingsEveryTime) {
  auto controller = fx.makeController(&client);
  auto itemFor = [&](InputMenuAction action) {
    const MenuDescription menu = controller->menu();
    for (const MenuItem& item : menu.items)
      if (item.action == action) return item;
    ADD_FAILURE() << "no item for action " << int(action);
    return MenuItem{};
  };
  const MenuDescription menu = controller->menu();
  EXPECT_EQ(menu.title, "Ornavel");
  EXPECT_EQ(menu.items.front(),
            MenuItem::item("首次使用与设置引导", InputMenuAction::showWelcomeEntry));
  EXPECT_EQ(menu.items.back(), MenuItem::item("反馈", InputMenuAction::sendFeedback));
  for (const auto& item : menu.items)
    EXPECT_EQ(item.keyEquivalent, "");

  using State = MenuItem::State;
  struct Row {
    InputMenuAction action;
    std::function<void(bool)> set;
  };
  const std::vector<Row> switches = {
      {InputMenuAction::toggleOnlineDict, [&](bool on) { fx.services.onlineDict = on; }},
      {InputMenuAction::toggleUploadConsent, [&](bool on) { fx.services.consent = on; }},
      {InputMenuAction::togglePredictions, [&](bool on) { fx.services.predictions = on; }},
  };
  for (const Row& row : switches) {
    row.set(true);
    EXPECT_EQ(itemFor(row.action).state, State::on) << int(row.action);
    row.set(false);
    EXPECT_EQ(itemFor(row.action).state, State::off) << int(row.action);
  }
  EXPECT_EQ(itemFor(InputMenuAction::checkUpdate).title, "检查更新");
  fx.services.update = true;
  EXPECT_EQ(itemFor(InputMenuAction::checkUpdate).title, "检查更新 🔴 有新版本");
}

TEST_F(LifecycleTest, PlainMenuActionsLogAndOpenTheirWindows) {
  auto controller = fx.makeController(&client);
  for (const InputMenuAction action :
       {InputMenuAction::showWelcomeEntry, InputMenuAction::showKeyMap, InputMenuAction::showAbout,
        InputMenuAction::checkUpdate, InputMenuAction::sendFeedback}) {
    controller->perform(action);
  }
  EXPECT_EQ(fx.menuUI.calls, (std::vector<std::string>{"showWelcome", "showKeyMap", "showAbout",
                                                       "checkForUpdates", "sendFeedback"}));
  EXPECT_EQ(fx.menuUI.shownKeyMap, &fx.keys);  // the layout the controller types with
  EXPECT_EQ(
      std::vector<std::string>(fx.logLines.begin() + 1, fx.logLines.end()),
      (std::vector<std::string>{"菜单：点击 首次使用与设置引导", "菜单：点击 键位表",
                                "菜单：点击 关于", "菜单：点击 检查更新", "菜单：点击 反馈"}));
}

TEST_F(LifecycleTest, OnlineDictToggleFetchesOnlyWhenSwitchedOnWithAnEngine) {
  auto controller = fx.makeController(&client);
  controller->perform(InputMenuAction::toggleOnlineDict);
  EXPECT_EQ(fx.services.onlineDict, false);
  EXPECT_EQ(fx.logLines.back(), "菜单：在线词库 关闭");
  EXPECT_TRUE(fx.services.fetches.empty());
  fx.services.version = "7";
  controller->perform(InputMenuAction::toggleOnlineDict);
  EXPECT_EQ(fx.services.onlineDict, true);
  EXPECT_EQ(fx.logLines.back(), "菜单：在线词库 开启");
  ASSERT_EQ(fx.services.fetches.size(), 1u);
  EXPECT_EQ(fx.services.fetches[0].since, "7");
  fx.services.fetches[0].completion(FetchedCloudDict{"word\t3\n", "8"});
  EXPECT_EQ(fx.engineState.syncedTexts, (std::vector<std::string>{"word\t3\n"}));
  EXPECT_EQ(fx.services.version, "8");
}

TEST_F(LifecycleTest, SwitchingConsentOffNeverAsks) {
  auto controller = fx.makeController(&client);
  controller->perform(InputMenuAction::toggleUploadConsent);
  EXPECT_EQ(fx.services.consent, false);
  EXPECT_EQ(fx.logLines.back(), "菜单：关闭用户词库上传");
  EXPECT_TRUE(fx.menuUI.consentRequests.empty());
}

TEST_F(LifecycleTest, ConsentAgreedStoresLogsAndForcesAnUpload) {
  fx.services.consent = false;
  auto controller = fx.makeController(&client);
  controller->perform(InputMenuAction::toggleUploadConsent);
  ASSERT_EQ(fx.menuUI.consentRequests.size(), 1u);
  EXPECT_EQ(fx.services.consent, false);  // nothing changes before the answer
  fx.menuUI.consentRequests[0](true);
  EXPECT_EQ(fx.services.consent, true);
  EXPECT_EQ(fx.logLines.back(), "菜单：同意上传用户词库");
  ASSERT_EQ(fx.services.uploads.size(), 1u);
  EXPECT_TRUE(fx.services.uploads[0].force);
  EXPECT_EQ(fx.services.uploads[0].tsv, "alma\t2\n");
}

TEST_F(LifecycleTest, ConsentDeclinedChangesNothing) {
  fx.services.consent = false;
  auto controller = fx.makeController(&client);
  controller->perform(InputMenuAction::toggleUploadConsent);
  fx.menuUI.consentRequests[0](false);
  EXPECT_EQ(fx.services.consent, false);
  EXPECT_TRUE(fx.services.uploads.empty());
  for (const MenuItem& item : controller->menu().items)
    if (item.action == InputMenuAction::toggleUploadConsent) {
      EXPECT_EQ(item.state, MenuItem::State::off);
    }
}

TEST_F(LifecycleTest, ConsentAnsweredAfterTheControllerIsGoneStoresButDoesNotUpload) {
  fx.services.consent = false;
  auto controller = fx.makeController(&client);
  controller->perform(InputMenuAction::toggleUploadConsent);
  controller.reset();
  fx.menuUI.consentRequests[0](true);
  EXPECT_EQ(fx.services.consent, true);
  EXPECT_TRUE(fx.services.uploads.empty());
}

TEST_F(LifecycleTest, UploadTextJoinsTheNonEmptyExports) {
  auto controller = fx.makeController(&client);
  fx.engineState.userFreqExport = "";
  fx.engineState.userUnknownExport = "qazan\t1\n";
  controller->uploadUserDict(false);
  ASSERT_EQ(fx.services.uploads.size(), 1u);
  EXPECT_EQ(fx.services.uploads[0].tsv, "qazan\t1\n");
  fx.engineState.userFreqExport = "alma\t2";
  controller->uploadUserDict(false);
  EXPECT_EQ(fx.services.uploads[1].tsv, "alma\t2\nqazan\t1\n");

  fx.services.uploads[0].completion(true);
  EXPECT_EQ(fx.logLines.back(), "用户词库上传成功/跳过");
  fx.services.uploads[1].completion(false);
  EXPECT_EQ(fx.logLines.back(), "用户词库上传失败");
}

TEST_F(LifecycleTest, EmptyExportsAreNotUploaded) {
  auto controller = fx.makeController(&client);
  fx.engineState.userFreqExport = "";
  controller->uploadUserDict(true);
  EXPECT_TRUE(fx.services.uploads.empty());
  EXPECT_EQ(fx.logLines.back(), "用户词库为空，跳过上传");
  fx.services.consent = false;
  fx.logLines.clear();
  controller->uploadUserDict(true);
  EXPECT_TRUE(fx.logLines.empty());
}

TEST_F(LifecycleTest, BootstrapRunsOnceForTheWholeProcess) {
  RecordingClient second;
  auto first = fx.makeController(&client);
  auto other = fx.makeController(&second);
  fx.services.version = "3";
  press(*first, &client, 0, "a");
  press(*other, &second, 0, "a");
  press(*first, &client, 0, "a");
  ASSERT_EQ(fx.services.fetches.size(), 1u);
  EXPECT_EQ(fx.services.fetches[0].since, "3");
  EXPECT_EQ(fx.services.silentChecks, 3);
}

TEST_F(LifecycleTest, BootstrapIsSpentEvenWhenOfflineOrWithoutEngine) {
  fx.services.onlineDict = false;
  auto controller = fx.makeController(&client);
  press(*controller, &client, 0, "a");
  EXPECT_TRUE(fx.env->process.didBootstrap);
  fx.services.onlineDict = true;
  press(*controller, &client, 0, "a");
  EXPECT_TRUE(fx.services.fetches.empty());

  ControllerFixture noEngine;
  noEngine.withEngine = false;
  auto direct = noEngine.makeController(&client);
  press(*direct, &client, 0, "a");
  EXPECT_TRUE(noEngine.env->process.didBootstrap);
  EXPECT_TRUE(noEngine.services.fetches.empty());
}

TEST_F(LifecycleTest, ChordsAndOtherEventsDoNotBootstrap) {
  auto controller = fx.makeController(&client);
  press(*controller, &client, 8, "c", ModifierFlag::kCommand);
  KeyEvent up = keyDown(0, "a");
  up.type = KeyEventType::keyUp;
  controller->handle(&up, &client);
  controller->handle(nullptr, &client);
  press(*controller, nullptr, 0, "a");
  EXPECT_FALSE(fx.env->process.didBootstrap);
  EXPECT_EQ(fx.services.silentChecks, 0);
}

TEST_F(LifecycleTest, CloudMergeStoresVersionOnlyWhenItWorked) {
  auto controller = fx.makeController(&client);
  press(*controller, &client, 0, "a");
  ASSERT_EQ(fx.services.fetches.size(), 1u);
  auto completion = fx.services.fetches[0].completion;

  completion(std::nullopt);
  completion(FetchedCloudDict{"", "5"});
  EXPECT_TRUE(fx.engineState.syncedTexts.empty());
  EXPECT_EQ(fx.services.version, "0");

  fx.engineState.syncResult = -1;
  completion(FetchedCloudDict{"x\t1\n", "5"});
  EXPECT_EQ(fx.services.version, "0");

  fx.engineState.syncResult = 0;  // an empty merge still counts
  completion(FetchedCloudDict{"x\t0\n", "6"});
  EXPECT_EQ(fx.services.version, "6");
  EXPECT_EQ(fx.logLines.back(), "云端词库已更新：0 条（版本 6）");
}

TEST_F(LifecycleTest, CloudMergeReachesTheEngineAfterItsControllerIsGone) {
  auto controller = fx.makeController(&client);
  press(*controller, &client, 0, "a");
  auto completion = fx.services.fetches.at(0).completion;
  controller.reset();
  EXPECT_EQ(fx.engineState.enginesFreed, 0);
  fx.engineState.syncResult = 4;
  completion(FetchedCloudDict{"x\t1\n", "9"});
  EXPECT_EQ(fx.services.version, "9");
  completion = nullptr;
  fx.services.fetches.clear();
  EXPECT_EQ(fx.engineState.enginesFreed, 1);
}

// A process without a main queue, dialogs or online services (a host that has none to offer)
// still activates, types, and answers every menu item.
TEST(BareEnvironment, NothingMissingIsDereferenced) {
  ControllerFixture fx;
  fx.engineState.words = {"alma"};
  fx.setKeys({{"a", "a"}});
  fx.env->mainQueue = nullptr;
  fx.env->menuUI = nullptr;
  fx.env->services = nullptr;
  RecordingClient client;
  auto controller = fx.makeController(&client);
  controller->activateServer(&client);
  EXPECT_FALSE(fx.env->process.uploadTimer);
  EXPECT_TRUE(press(*controller, &client, 0, "a"));
  EXPECT_EQ(client.marked(), "a");
  for (const MenuItem& item : controller->menu().items)
    if (item.action) controller->perform(*item.action);
  for (const MenuItem& item : controller->menu().items)
    if (item.action == InputMenuAction::toggleOnlineDict) {
      EXPECT_EQ(item.state, MenuItem::State::off);
    }
  controller->deactivateServer(&client);
  EXPECT_EQ(client.inserted(), "a");
}

}  // namespace
}  // namespace ornav
