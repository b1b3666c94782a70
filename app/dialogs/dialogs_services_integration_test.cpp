// MenuUI on the real update service: the running application's service client, the Linux run
// loop as the main queue and a loopback web service; only the windows and alerts are recorded.
#include <gtest/gtest.h>

#include "dialogs/about_window.h"
#include "dialogs/feedback_window.h"
#include "dialogs/menu_ui.h"
#include "dialogs/update_service_dialog_services.h"
#include "dialogs/update_window.h"
#include "platform/linux/testing/service_test_support.h"
#include "services/update_service.h"
#include "testing/fake_ui.h"

namespace ornav {
namespace {

using service_testing::ServiceTest;
using testing::RecordingDialogWindow;

constexpr const char* kLatest = "/api/ornav-ime/latest";

class DialogsOnTheServiceTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    ui_ = std::make_unique<MenuUI>(
        MenuUIPorts{
            &windows_, &alerts_, &urls_, platform_->ports().mainQueue, &bundle_, {}, {}, {}},
        services_);
  }
  void TearDown() override {
    ui_.reset();
    ServiceTest::TearDown();
  }

  testing::RecordingWindowSystem windows_;
  testing::ScriptedAlerts alerts_;
  testing::RecordingUrlOpener urls_;
  UpdateServiceDialogServices services_;
  std::unique_ptr<MenuUI> ui_;
};

TEST_F(DialogsOnTheServiceTest, ACheckFindingTheRunningVersionSaysSo) {
  server_->reply("GET", kLatest, testing::ServerReply::json(R"({"version":"2.0"})"));
  ui_->checkForUpdates();
  runUntil([&] { return !alerts_.shown.empty(); });
  EXPECT_EQ(alerts_.shown[0].message, "已是最新版本");
  EXPECT_EQ(alerts_.shown[0].informativeText, "当前版本 2.0 已是最新。");
}

TEST_F(DialogsOnTheServiceTest, AnOfferIsDownloadedVerifiedAndInstalledFromTheWindow) {
  const std::string package(200 * 1024, 'P');
  testing::ServerReply file;
  file.body = package;
  file.chunkSize = 32 * 1024;
  server_->reply("GET", "/files/Ornavel.pkg", file);
  const auto digestInput = temp_.write("digest-input", package);
  ProcessRequest sum;
  sum.path = "/usr/bin/sha256sum";
  sum.arguments = {digestInput.string()};
  const std::string digest =
      std::get<ProcessResult>(realProcesses_.run(sum)).standardOutput.substr(0, 64);
  server_->reply("GET", kLatest,
                 testing::ServerReply::json(
                     R"({"version":"2.1","url":")" + server_->url("/files/Ornavel.pkg") +
                     R"(","notes":"","fileSizeMB":0.2,"sha256":")" + digest + R"("})"));

  ui_->checkForUpdates();
  runUntil([&] { return windows_.windowTitled(update_window::kTitle) != nullptr; });
  RecordingDialogWindow* window = windows_.windowTitled(update_window::kTitle);
  EXPECT_EQ(window->texts.at(update_window::kHeadline), "发现新版本 2.1");
  EXPECT_EQ(window->texts.at(update_window::kInformation),
            "当前版本：2.0    安装包大小：0.2 MB    校验值：" + digest);
  EXPECT_EQ(window->texts.at(update_window::kNotes), "本次版本未提供额外更新说明。");

  ASSERT_TRUE(window->press(DialogAction::startInAppUpdate));
  runUntil([&] { return !alerts_.shown.empty(); });
  EXPECT_EQ(alerts_.shown[0].message, "更新已安装");
  EXPECT_EQ(window->texts.at(update_window::kStatus), "更新安装完成。");
  EXPECT_EQ(window->progress.at(update_window::kProgress).value, 1);
  EXPECT_TRUE(window->closed);
}

TEST_F(DialogsOnTheServiceTest, AboutMergesTheAnswerIntoTheBuiltInTexts) {
  server_->reply("GET", "/api/ornav-ime/about", testing::ServerReply::json(R"({"title":"T"})"));
  ui_->showAbout();
  RecordingDialogWindow* window = windows_.windowTitled(about_window::kTitle);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->texts.at(about_window::kProductTitle), "Tolvex输入法");
  EXPECT_EQ(window->texts.at(about_window::kVersion), "版本 2.0");
  runUntil([&] { return window->texts.at(about_window::kProductTitle) == "T"; });
  EXPECT_EQ(window->texts.at(about_window::kDescription),
            UpdateService::defaultAbout().description);
  EXPECT_EQ(window->texts.at(about_window::kCopyright), UpdateService::defaultAbout().copyright);
}

TEST_F(DialogsOnTheServiceTest, ABlankMessageIsRefusedAndTheWebPageOffered) {
  ui_->sendFeedback();
  RecordingDialogWindow* window = windows_.windowTitled(feedback_window::kTitle);
  ASSERT_NE(window, nullptr);
  window->type(feedback_window::kMessage, "  \n ");
  window->press(DialogAction::submitFeedback);
  runUntil([&] { return !alerts_.shown.empty(); });
  EXPECT_EQ(alerts_.shown[0].message, "提交失败");
  EXPECT_EQ(alerts_.shown[0].informativeText, "请先输入反馈内容\n\n你也可以改用网页反馈。");
  EXPECT_EQ(urls_.opened, std::vector<std::string>{serviceBaseURL()});
  EXPECT_TRUE(server_->requests().empty());
}

TEST_F(DialogsOnTheServiceTest, TheWelcomeFlagIsStoredAndThePendingNoticeConsumed) {
  ui_->showWelcomeIfNeeded();
  EXPECT_EQ(settings_->getBool("Ornavel.welcomeShown"), true);
  EXPECT_EQ(windows_.windows.size(), 1u);
  ui_->showWelcomeIfNeeded();
  EXPECT_EQ(windows_.windows.size(), 1u);

  settings_->setString("Ornavel.pendingInstallVersion", "2.0");
  settings_->setDouble("Ornavel.pendingInstallStartedAt", 1.0);
  ui_->showPendingInstallNoticeIfNeeded();
  ASSERT_EQ(alerts_.shown.size(), 1u);
  EXPECT_EQ(alerts_.shown[0].informativeText,
            "系统已经完成安装并重新加载输入法，当前版本已更新到 "
            "2.0。如果当前应用里暂时没有恢复输入，可切换一次输入法后再试。");
  ui_->showPendingInstallNoticeIfNeeded();
  EXPECT_EQ(alerts_.shown.size(), 1u);
}

}  // namespace
}  // namespace ornav
