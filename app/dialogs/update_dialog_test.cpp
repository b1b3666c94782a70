// The update check's alerts, the update window, and the installation it runs.
#include <gtest/gtest.h>

#include "dialogs/dialog_test_support.h"
#include "dialogs/update_window.h"

namespace ornav {
namespace {

using dialog_testing::controlFrames;
using dialog_testing::DialogFixture;
using testing::RecordingDialogWindow;
using Style = AlertDescription::Style;
namespace uw = update_window;

constexpr std::int64_t kMB = 1024 * 1024;
const std::string kInstalledText =
    "新版本已经安装完成，系统可能会提示输入管理员密码并自动刷新输入法。若当前输入法短暂消失，请重新"
    "切换一次即可。";

UpdateInfo offered(std::string version = "2.0.0") {
  UpdateInfo info;
  info.version = std::move(version);
  info.directDownloadURL = "https://ime.example.org/Ornavel.pkg";
  info.notes = "修复候选词排序。";
  info.sha256 = "9f86d081884c7d65";
  info.fileSizeMB = 12.345;
  return info;
}

ProgressState bar(bool indeterminate, bool animating, double value) {
  return ProgressState{indeterminate, animating, 0, 1, value};
}

class UpdateDialogTest : public ::testing::Test {
 protected:
  // A menu check that finds `info`; answers the update window.
  RecordingDialogWindow* offer(const UpdateInfo& info = offered()) {
    fx.ui.checkForUpdates();
    EXPECT_FALSE(fx.services.checks.empty());
    if (fx.services.checks.empty()) return nullptr;
    fx.services.checks.back()(UpdateResult::available(info));
    return fx.window(uw::kTitle);
  }
  void stage(const InAppUpdateStage& stage, std::size_t install = 0) {
    fx.services.installs.at(install).progress(stage);
  }
  void finish(const InAppUpdateResult& result, std::size_t install = 0) {
    fx.services.installs.at(install).completion(result);
  }
  static std::string status(const RecordingDialogWindow& window) {
    return window.texts.at(uw::kStatus);
  }
  static ProgressState progress(const RecordingDialogWindow& window) {
    return window.progress.at(uw::kProgress);
  }

  DialogFixture fx;
};

TEST_F(UpdateDialogTest, UpToDateShowsTheRunningVersion) {
  fx.ui.checkForUpdates();
  EXPECT_TRUE(fx.alerts.shown.empty());  // nothing until the service answers
  fx.services.checks.at(0)(UpdateResult::upToDate());
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::informational);
  EXPECT_EQ(fx.lastAlert().message, "已是最新版本");
  EXPECT_EQ(fx.lastAlert().informativeText, "当前版本 1.2.3 已是最新。");
  EXPECT_EQ(fx.lastAlert().buttons, std::vector<std::string>{"好"});
  EXPECT_TRUE(fx.everyAlertActivated());
  EXPECT_TRUE(fx.windows.windows.empty());
}

TEST_F(UpdateDialogTest, FailedCheckShowsTheServiceMessageUnchanged) {
  fx.ui.checkForUpdates();
  fx.services.checks.at(0)(UpdateResult::failed("更新服务尚未配置"));
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::warning);
  EXPECT_EQ(fx.lastAlert().message, "检测更新失败");
  EXPECT_EQ(fx.lastAlert().informativeText, "更新服务尚未配置");
  EXPECT_EQ(fx.lastAlert().buttons, std::vector<std::string>{"好"});
  EXPECT_TRUE(fx.everyAlertActivated());
  EXPECT_TRUE(fx.windows.windows.empty());
}

TEST_F(UpdateDialogTest, AnOfferOpensTheWindowReadyToInstall) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  const WindowDescription& d = window->description;
  EXPECT_EQ(d.contentSize, (Size{500, 340}));
  EXPECT_EQ(d.level, WindowLevel::floating);
  EXPECT_TRUE(d.keyEquivalentRule);
  EXPECT_EQ(controlFrames(d), (std::vector<std::pair<std::string, Rect>>{
                                  {uw::kHeadline, {20, 292, 460, 22}},
                                  {uw::kInformation, {20, 266, 460, 18}},
                                  {uw::kNotesHeading, {20, 238, 100, 18}},
                                  {uw::kNotes, {20, 126, 460, 104}},
                                  {uw::kStatus, {20, 92, 460, 18}},
                                  {uw::kProgress, {20, 64, 460, 16}},
                                  {uw::kLaterButton, {264, 20, 100, 32}},
                                  {uw::kActionButton, {372, 20, 108, 32}},
                              }));

  const auto& headline = std::get<LabelControl>(window->control(uw::kHeadline)->kind);
  EXPECT_EQ(headline.text, "发现新版本 2.0.0");
  EXPECT_EQ(headline.font, Font::boldSystem(16));
  const auto& information = std::get<LabelControl>(window->control(uw::kInformation)->kind);
  EXPECT_EQ(information.text, "当前版本：1.2.3    安装包大小：12.3 MB    校验值：9f86d081884c7d65");
  EXPECT_EQ(information.font, Font::system(12));
  EXPECT_EQ(information.color, Color::ofRole(Color::Role::secondaryLabel));
  const auto& heading = std::get<LabelControl>(window->control(uw::kNotesHeading)->kind);
  EXPECT_EQ(heading.text, "更新说明");
  EXPECT_EQ(heading.font, Font::boldSystem(12));
  const auto& notes = std::get<TextViewControl>(window->control(uw::kNotes)->kind);
  EXPECT_EQ(notes.text, "修复候选词排序。");
  EXPECT_EQ(notes.font, Font::system(13));
  EXPECT_FALSE(notes.editable);
  EXPECT_TRUE(notes.selectable);
  const auto& built = std::get<LabelControl>(window->control(uw::kStatus)->kind);
  EXPECT_EQ(built.text, "准备下载更新…");
  EXPECT_EQ(built.color, Color::ofRole(Color::Role::secondaryLabel));
  const auto& later = std::get<ButtonControl>(window->control(uw::kLaterButton)->kind);
  EXPECT_EQ(later.title, "稍后");
  EXPECT_EQ(later.action, DialogAction::closeUpdate);
  const auto& action = std::get<ButtonControl>(window->control(uw::kActionButton)->kind);
  EXPECT_EQ(action.action, DialogAction::startInAppUpdate);

  // A fresh window opens refreshed: the ready text, not the one it was built with.
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(status(*window), "新版本已就绪，点击“下载并安装”开始。");
  EXPECT_EQ(progress(*window), bar(false, false, 0));
  EXPECT_EQ(window->texts.at(uw::kActionButton), "下载并安装");
  EXPECT_TRUE(window->enabled.at(uw::kActionButton));
  EXPECT_TRUE(window->enabled.at(uw::kLaterButton));
  EXPECT_EQ(fx.windows.activations, 1);
}

TEST_F(UpdateDialogTest, InformationLineHoldsOnlyWhatIsKnown) {
  UpdateInfo bare = offered();
  bare.fileSizeMB.reset();
  bare.sha256.clear();
  EXPECT_EQ(uw::informationLine(bare, "1.2.3"), "当前版本：1.2.3");

  UpdateInfo sized = bare;
  sized.fileSizeMB = 12.345;
  EXPECT_EQ(uw::informationLine(sized, "1.2.3"), "当前版本：1.2.3    安装包大小：12.3 MB");
  sized.fileSizeMB = 0.05;  // half-way cases round as printf does
  EXPECT_EQ(uw::informationLine(sized, "1.2.3"), "当前版本：1.2.3    安装包大小：0.1 MB");

  UpdateInfo hashed = bare;
  hashed.sha256 = "abc";
  EXPECT_EQ(uw::informationLine(hashed, "1.2.3"), "当前版本：1.2.3    校验值：abc");

  RecordingDialogWindow* window = offer(bare);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->texts.at(uw::kInformation), "当前版本：1.2.3");
}

TEST_F(UpdateDialogTest, EmptyNotesSayThereAreNone) {
  UpdateInfo info = offered();
  info.notes.clear();
  RecordingDialogWindow* window = offer(info);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->texts.at(uw::kNotes), "本次版本未提供额外更新说明。");
}

TEST_F(UpdateDialogTest, EveryStageOfASuccessfulInstallation) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->press(DialogAction::startInAppUpdate));
  ASSERT_EQ(fx.services.installs.size(), 1u);
  EXPECT_EQ(fx.services.installs[0].info, offered());
  EXPECT_FALSE(window->enabled.at(uw::kActionButton));
  EXPECT_FALSE(window->enabled.at(uw::kLaterButton));
  EXPECT_EQ(window->texts.at(uw::kActionButton), "正在更新");
  EXPECT_EQ(status(*window), "正在准备下载更新包…");
  EXPECT_EQ(progress(*window), bar(true, true, 0));

  stage(InAppUpdateStage::downloading(5242880, 10485760));
  EXPECT_EQ(status(*window), "正在下载更新包… 50%（5.0 / 10.0 MB）");
  EXPECT_EQ(progress(*window), bar(false, false, 0.5));

  stage(InAppUpdateStage::downloading(10485760, 10485760));
  EXPECT_EQ(status(*window), "正在下载更新包… 100%（10.0 / 10.0 MB）");
  EXPECT_EQ(progress(*window), bar(false, false, 1));

  stage(InAppUpdateStage::verifying());
  EXPECT_EQ(status(*window), "下载完成，正在校验安装包…");
  EXPECT_TRUE(progress(*window).indeterminate);
  EXPECT_TRUE(progress(*window).animating);

  stage(InAppUpdateStage::installing());
  EXPECT_EQ(status(*window), "校验完成，正在请求安装权限并安装更新…");
  EXPECT_TRUE(progress(*window).indeterminate);
  EXPECT_TRUE(progress(*window).animating);
  // Buttons stay disabled through every stage.
  EXPECT_FALSE(window->enabled.at(uw::kActionButton));
  EXPECT_FALSE(window->enabled.at(uw::kLaterButton));
  EXPECT_TRUE(fx.alerts.shown.empty());

  fx.events.clear();  // the window's own activation does not count for the alert
  finish(InAppUpdateResult::success());
  EXPECT_EQ(status(*window), "更新安装完成。");
  EXPECT_EQ(progress(*window), bar(false, false, 1));
  EXPECT_TRUE(window->closed);
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::informational);
  EXPECT_EQ(fx.lastAlert().message, "更新已安装");
  EXPECT_EQ(fx.lastAlert().informativeText, kInstalledText);
  EXPECT_EQ(fx.lastAlert().buttons, std::vector<std::string>{"好"});
  EXPECT_TRUE(fx.everyAlertActivated());
  fx.mainQueue.drain();
  EXPECT_TRUE(window->released);
}

TEST_F(UpdateDialogTest, DownloadWithoutTotalShowsMegabytesAndAnEmptyBar) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  fx.ui.startInAppUpdate();
  stage(InAppUpdateStage::downloading(3 * kMB + kMB / 2, -1));
  EXPECT_EQ(status(*window), "正在下载更新包… 3.5 MB");
  EXPECT_EQ(progress(*window), bar(false, false, 0));
  // Every total below one byte counts as none.
  stage(InAppUpdateStage::downloading(kMB, 0));
  EXPECT_EQ(status(*window), "正在下载更新包… 1.0 MB");
  EXPECT_EQ(progress(*window), bar(false, false, 0));
  stage(InAppUpdateStage::downloading(0, 1));
  EXPECT_EQ(status(*window), "正在下载更新包… 0%（0.0 / 0.0 MB）");
}

TEST_F(UpdateDialogTest, MoreBytesThanAnnouncedKeepTheBarAtItsEnd) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  fx.ui.startInAppUpdate();
  stage(InAppUpdateStage::downloading(15 * kMB, 10 * kMB));
  EXPECT_EQ(status(*window), "正在下载更新包… 150%（15.0 / 10.0 MB）");
  EXPECT_EQ(progress(*window), bar(false, false, 1));
}

TEST_F(UpdateDialogTest, HiddenByTheTitleBarTheWindowKeepsFollowingTheInstallation) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  window->press(DialogAction::startInAppUpdate);
  window->closeFromTitleBar();
  stage(InAppUpdateStage::downloading(5242880, 10485760));
  EXPECT_EQ(status(*window), "正在下载更新包… 50%（5.0 / 10.0 MB）");
  stage(InAppUpdateStage::verifying());
  EXPECT_EQ(status(*window), "下载完成，正在校验安装包…");
  EXPECT_FALSE(window->visible);
  EXPECT_FALSE(window->closed);

  finish(InAppUpdateResult::success());
  EXPECT_TRUE(window->closed);
  EXPECT_EQ(fx.lastAlert().message, "更新已安装");
  // The window is gone: a later request builds a new one.
  offer(offered("2.0.1"));
  EXPECT_EQ(fx.windows.windows.size(), 2u);
}

TEST_F(UpdateDialogTest, StartingAfterTheWindowWasClosedDoesNothing) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->press(DialogAction::closeUpdate));
  EXPECT_TRUE(window->closed);
  fx.ui.startInAppUpdate();
  EXPECT_TRUE(fx.services.installs.empty());
  fx.mainQueue.drain();
  EXPECT_TRUE(window->released);
}

TEST_F(UpdateDialogTest, AFailedInstallationOffersToStartAgain) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  window->press(DialogAction::startInAppUpdate);
  stage(InAppUpdateStage::downloading(5242880, 10485760));
  fx.events.clear();
  finish(InAppUpdateResult::failure("安装包校验失败"));

  EXPECT_TRUE(window->enabled.at(uw::kActionButton));
  EXPECT_TRUE(window->enabled.at(uw::kLaterButton));
  EXPECT_EQ(window->texts.at(uw::kActionButton), "重新下载并安装");
  // The last stage stays on show.
  EXPECT_EQ(status(*window), "正在下载更新包… 50%（5.0 / 10.0 MB）");
  EXPECT_EQ(progress(*window), bar(false, false, 0.5));
  EXPECT_FALSE(window->closed);
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::warning);
  EXPECT_EQ(fx.lastAlert().message, "更新失败");
  EXPECT_EQ(fx.lastAlert().informativeText, "安装包校验失败");
  EXPECT_EQ(fx.lastAlert().buttons, std::vector<std::string>{"好"});
  EXPECT_TRUE(fx.everyAlertActivated());

  ASSERT_TRUE(window->press(DialogAction::startInAppUpdate));
  ASSERT_EQ(fx.services.installs.size(), 2u);
  EXPECT_EQ(fx.services.installs[1].info, offered());
  EXPECT_EQ(status(*window), "正在准备下载更新包…");
  EXPECT_EQ(progress(*window).indeterminate, true);
  EXPECT_EQ(window->texts.at(uw::kActionButton), "正在更新");
  EXPECT_FALSE(window->enabled.at(uw::kActionButton));
  EXPECT_FALSE(window->enabled.at(uw::kLaterButton));
}

TEST_F(UpdateDialogTest, ANewOfferRefreshesTheSameWindowBackToReady) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  window->press(DialogAction::startInAppUpdate);
  stage(InAppUpdateStage::downloading(kMB, 10 * kMB));
  window->closeFromTitleBar();

  EXPECT_EQ(offer(offered("2.1.0")), window);
  EXPECT_EQ(fx.windows.windows.size(), 1u);
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(window->showCount, 2);
  EXPECT_EQ(fx.windows.activations, 2);
  EXPECT_EQ(status(*window), "新版本已就绪，点击“下载并安装”开始。");
  EXPECT_EQ(progress(*window), bar(false, false, 0));
  EXPECT_TRUE(window->enabled.at(uw::kActionButton));
  EXPECT_EQ(window->texts.at(uw::kActionButton), "下载并安装");
  // Texts of the first build stay.
  EXPECT_EQ(window->texts.at(uw::kHeadline), "发现新版本 2.0.0");

  // The installation that runs still reports into its window; a new one installs the new offer.
  stage(InAppUpdateStage::downloading(2 * kMB, 10 * kMB));
  EXPECT_EQ(status(*window), "正在下载更新包… 20%（2.0 / 10.0 MB）");
  window->press(DialogAction::startInAppUpdate);
  ASSERT_EQ(fx.services.installs.size(), 2u);
  EXPECT_EQ(fx.services.installs[1].info.version, "2.1.0");
}

TEST_F(UpdateDialogTest, AnInstallationWhoseWindowWasClosedStillReportsItsResult) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  window->press(DialogAction::startInAppUpdate);
  offer();  // a new check re-enables the later button
  ASSERT_TRUE(window->press(DialogAction::closeUpdate));
  const auto textsAtClose = window->texts;

  stage(InAppUpdateStage::verifying());
  EXPECT_EQ(window->texts, textsAtClose);
  // A window opened meanwhile is not the installation's: its stages and success leave it alone.
  RecordingDialogWindow* next = offer(offered("2.0.1"));
  ASSERT_NE(next, window);
  stage(InAppUpdateStage::installing());
  EXPECT_EQ(status(*next), "新版本已就绪，点击“下载并安装”开始。");
  finish(InAppUpdateResult::success());
  EXPECT_FALSE(next->closed);
  EXPECT_EQ(progress(*next), bar(false, false, 0));
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().message, "更新已安装");
  // Its offer is still the one to install.
  next->press(DialogAction::startInAppUpdate);
  EXPECT_EQ(fx.services.installs.back().info.version, "2.0.1");
}

TEST_F(UpdateDialogTest, AFailureAfterTheWindowClosedIsStillReported) {
  RecordingDialogWindow* window = offer();
  ASSERT_NE(window, nullptr);
  fx.ui.startInAppUpdate();
  fx.ui.closeUpdateWindow();
  finish(InAppUpdateResult::failure("更新下载链接无效"));
  EXPECT_EQ(fx.lastAlert().message, "更新失败");
  EXPECT_EQ(fx.lastAlert().informativeText, "更新下载链接无效");
  EXPECT_EQ(window->texts.at(uw::kActionButton), "正在更新");  // not touched after closing
}

TEST_F(UpdateDialogTest, PendingInstallNoticeOnlyWhenThereIsOne) {
  fx.ui.showPendingInstallNoticeIfNeeded();
  EXPECT_TRUE(fx.alerts.shown.empty());

  fx.services.pendingNotice = PendingInstallNotice::installed("2.0");
  fx.ui.showPendingInstallNoticeIfNeeded();
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::informational);
  EXPECT_EQ(fx.lastAlert().message, "更新已安装");
  EXPECT_EQ(fx.lastAlert().informativeText,
            "系统已经完成安装并重新加载输入法，当前版本已更新到 "
            "2.0。如果当前应用里暂时没有恢复输入，可切换一次输入法后再试。");
  EXPECT_EQ(fx.lastAlert().buttons, std::vector<std::string>{"好"});
  EXPECT_TRUE(fx.everyAlertActivated());

  // Reading the notice used it up.
  fx.ui.showPendingInstallNoticeIfNeeded();
  EXPECT_EQ(fx.alerts.shown.size(), 1u);
}

}  // namespace
}  // namespace ornav
