#include "ui/user_interface.h"

#include <gtest/gtest.h>

#include "core/ornav_input_controller.h"
#include "test_dict.h"
#include "testing/fake_platform.h"
#include "testing/recording_text_client.h"

namespace ornav {
namespace {

// The whole process over fake ports: an engine over a tiny real dictionary, the real panel, the
// real dialogs and the real (unconfigured) service.
class UserInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ornav::testing::write_dict(dict_.path().string(), {{"salam", 9}, {"sabaq", 4}}, {});
    fakes_.bundle.addResource("keymap.json", R"({"map": {"s": "s", "a": "a"}})");
    ApplicationOptions options;
    options.logFiles = Logger::Files{"", ""};
    options.engineDirectories = EngineDirectories{dict_.path().string(), std::nullopt};
    app_ = std::make_unique<Application>(fakes_.ports(), options);
    app_->loadKeyMap();
    ui_ = std::make_unique<UserInterface>(*app_);
  }

  TemporaryFolder dict_{"ornav-ui-dict"};
  ornav::testing::FakePlatform fakes_;
  std::unique_ptr<Application> app_;
  std::unique_ptr<UserInterface> ui_;
  ornav::testing::RecordingTextClient client_;
};

TEST_F(UserInterfaceTest, ControllersDrawTheirCandidatesInTheRealPanel) {
  auto controller = OrnavInputController::create(ui_->controllerEnvironment(), &client_);
  ASSERT_TRUE(controller->hasEngine());
  KeyEvent key;
  key.characters = "s";
  EXPECT_TRUE(controller->handle(&key, &client_));
  ASSERT_EQ(fakes_.windows.panels.size(), 1u);
  const PanelScene* scene = fakes_.windows.panels[0]->lastScene();
  ASSERT_NE(scene, nullptr);
  ASSERT_EQ(scene->cells.size(), 2u);
  EXPECT_EQ(scene->cells[0].word.text, "salam");
  EXPECT_TRUE(scene->cells[0].highlighted);
  // A click on the second cell picks it into the client.
  EXPECT_TRUE(fakes_.windows.panels[0]->click(1));
  EXPECT_EQ(client_.inserted(), "sabaq ");
}

TEST_F(UserInterfaceTest, MenuItemsAndActivationReachTheDialogs) {
  auto controller = OrnavInputController::create(ui_->controllerEnvironment(), &client_);
  controller->perform(InputMenuAction::showAbout);
  EXPECT_NE(fakes_.windows.windowTitled("关于"), nullptr);
  controller->activateServer(&client_);
  fakes_.mainQueue.drain();
  EXPECT_NE(fakes_.windows.windowTitled("欢迎使用"), nullptr);  // the first activation only
  EXPECT_EQ(fakes_.settings.getBool("Ornavel.welcomeShown"), true);
  controller->perform(InputMenuAction::checkUpdate);
  fakes_.mainQueue.drain();
  ASSERT_FALSE(fakes_.alerts.shown.empty());
  EXPECT_EQ(fakes_.alerts.shown.back().message, "检测更新失败");  // no service is configured
}

}  // namespace
}  // namespace ornav
