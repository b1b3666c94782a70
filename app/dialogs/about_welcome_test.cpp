// The about window, the welcome window shown once, and the setup guide.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ornav_display_name.h"

#include "base/temporary_folder.h"
#include "dialogs/about_window.h"
#include "dialogs/dialog_test_support.h"
#include "dialogs/welcome_window.h"

namespace ornav {
namespace {

using dialog_testing::controlFrames;
using dialog_testing::DialogFixture;
using testing::RecordingDialogWindow;
using Style = AlertDescription::Style;
namespace aw = about_window;
namespace ww = welcome_window;

const std::string kName(ornav::displayName);

class AboutTest : public ::testing::Test {
 protected:
  RecordingDialogWindow* open() {
    fx.ui.showAbout();
    return fx.window(aw::kTitle);
  }
  DialogFixture fx;
};

TEST_F(AboutTest, BuiltInTextsCentredUnderTheIcon) {
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  const WindowDescription& d = window->description;
  EXPECT_EQ(d.contentSize, (Size{380, 288}));
  EXPECT_EQ(d.level, WindowLevel::floating);
  EXPECT_EQ(controlFrames(d), (std::vector<std::pair<std::string, Rect>>{
                                  {aw::kIcon, {158, 198, 64, 64}},
                                  {aw::kProductTitle, {20, 166, 340, 22}},
                                  {aw::kVersion, {20, 140, 340, 18}},
                                  {aw::kDescription, {20, 60, 340, 48}},
                                  {aw::kCopyright, {20, 16, 340, 16}},
                              }));
  struct Expected {
    const char* name;
    std::string text;
    Font font;
    std::optional<Color> color;
  };
  const std::vector<Expected> labels = {
      {aw::kProductTitle, "Tolvex输入法", Font::boldSystem(15), std::nullopt},
      {aw::kVersion, "版本 1.2.3", Font::system(12), Color::ofRole(Color::Role::secondaryLabel)},
      {aw::kDescription, "内置说明", Font::system(12), Color::ofRole(Color::Role::secondaryLabel)},
      {aw::kCopyright, "© 内置", Font::system(10), Color::ofRole(Color::Role::tertiaryLabel)},
  };
  for (const Expected& e : labels) {
    const auto& label = std::get<LabelControl>(window->control(e.name)->kind);
    EXPECT_EQ(label.text, e.text) << e.name;
    EXPECT_EQ(label.font, e.font) << e.name;
    EXPECT_EQ(label.color, e.color) << e.name;
    EXPECT_EQ(label.alignment, TextAlignment::center) << e.name;
  }
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(fx.windows.activations, 1);
  EXPECT_EQ(fx.services.aboutFetches.size(), 1u);
}

TEST_F(AboutTest, IconFromTheNamedImageThenTheBundlesFileThenTheApplication) {
  using Kind = ImageSource::Kind;
  const auto withoutFile = aw::iconSources(&fx.bundle);
  ASSERT_EQ(withoutFile.size(), 2u);
  EXPECT_EQ(withoutFile[0].kind, Kind::named);
  EXPECT_EQ(withoutFile[0].value, "AppIcon");
  EXPECT_EQ(withoutFile[1].kind, Kind::applicationIcon);
  EXPECT_EQ(aw::iconSources(nullptr).size(), 2u);

  const auto file = fx.bundle.addResource("AppIcon.icns", "icns");
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  const auto& icon = std::get<ImageControl>(window->control(aw::kIcon)->kind);
  ASSERT_EQ(icon.sources.size(), 3u);
  EXPECT_EQ(icon.sources[0].kind, Kind::named);
  EXPECT_EQ(icon.sources[0].value, "AppIcon");
  EXPECT_EQ(icon.sources[1].kind, Kind::file);
  EXPECT_EQ(icon.sources[1].value, file.string());
  EXPECT_EQ(icon.sources[2].kind, Kind::applicationIcon);
}

TEST_F(AboutTest, FetchedContentReplacesTheThreeTexts) {
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  fx.services.aboutFetches.at(0)(AboutContent{"新标题", "新说明", "© 2027"});
  EXPECT_EQ(window->texts.at(aw::kProductTitle), "新标题");
  EXPECT_EQ(window->texts.at(aw::kDescription), "新说明");
  EXPECT_EQ(window->texts.at(aw::kCopyright), "© 2027");
  EXPECT_EQ(window->texts.at(aw::kVersion), "版本 1.2.3");
}

TEST_F(AboutTest, UnreachableServiceKeepsTheBuiltInsAndReopeningFetchesNothing) {
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  fx.services.aboutFetches.at(0)(std::nullopt);
  EXPECT_EQ(window->texts.at(aw::kProductTitle), "Tolvex输入法");
  EXPECT_EQ(window->texts.at(aw::kVersion), "版本 1.2.3");
  EXPECT_EQ(window->texts.at(aw::kDescription), "内置说明");
  EXPECT_EQ(window->texts.at(aw::kCopyright), "© 内置");

  window->closeFromTitleBar();
  EXPECT_EQ(open(), window);
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(window->showCount, 2);
  EXPECT_EQ(fx.windows.windows.size(), 1u);
  EXPECT_EQ(fx.services.aboutFetches.size(), 1u);
  EXPECT_EQ(fx.windows.activations, 2);
}

TEST_F(AboutTest, AnAnswerArrivingWhileHiddenStillFillsTheWindow) {
  RecordingDialogWindow* window = open();
  window->closeFromTitleBar();
  fx.services.aboutFetches.at(0)(AboutContent{"新标题", "新说明", "© 2027"});
  EXPECT_EQ(window->texts.at(aw::kProductTitle), "新标题");
}

class WelcomeTest : public ::testing::Test {
 protected:
  DialogFixture fx;
};

TEST_F(WelcomeTest, StepsUnderTheDisplayName) {
  fx.ui.showWelcome();
  RecordingDialogWindow* window = fx.window(ww::kTitle);
  ASSERT_NE(window, nullptr);
  const WindowDescription& d = window->description;
  EXPECT_EQ(d.level, WindowLevel::floating);
  const auto& title = std::get<LabelControl>(window->control(ww::kWelcomeTitle)->kind);
  EXPECT_EQ(title.text, "欢迎使用 " + kName + " 输入法");
  EXPECT_EQ(title.font, Font::boldSystem(16));
  EXPECT_EQ(title.alignment, TextAlignment::left);
  const auto& steps = std::get<LabelControl>(window->control(ww::kSteps)->kind);
  EXPECT_EQ(steps.text,
            "如果还没把输入法加到系统里：\n"
            "1. 打开系统设置 → 键盘 → 输入法\n"
            "2. 点击“编辑”或“+”\n"
            "3. 在“其他”里找到“" +
                kName +
                "”并添加\n"
                "4. 用 Control + Space 切换到本输入法");
  EXPECT_EQ(steps.font, Font::system(12));
  EXPECT_EQ(steps.color, Color::ofRole(Color::Role::secondaryLabel));
  const auto& guide = std::get<ButtonControl>(window->control(ww::kSetupGuideButton)->kind);
  EXPECT_EQ(guide.title, "设置引导");
  EXPECT_EQ(guide.action, DialogAction::openSetupGuide);
  const auto& later = std::get<ButtonControl>(window->control(ww::kLaterButton)->kind);
  EXPECT_EQ(later.title, "稍后");
  EXPECT_EQ(later.action, DialogAction::closeWelcome);
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(fx.windows.activations, 1);
}

TEST_F(WelcomeTest, TheNameIsTheOneTheInputSourceIsListedWith) {
  EXPECT_EQ(ww::displayName(), ornav::displayName);
  EXPECT_FALSE(ww::displayName().empty());
}

TEST_F(WelcomeTest, ShownByItselfOnceTheFlagSetBeforeTheWindow) {
  std::size_t windowsWhenMarked = 99;
  fx.services.onWelcomeWrite = [&](bool) { windowsWhenMarked = fx.windows.windows.size(); };
  fx.ui.showWelcomeIfNeeded();
  EXPECT_TRUE(fx.services.welcomeShown);
  EXPECT_EQ(windowsWhenMarked, 0u);
  RecordingDialogWindow* window = fx.window(ww::kTitle);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->visible);

  // It comes up by itself beside what the user types in, leaving the keyboard there.
  EXPECT_TRUE(window->shownWithoutFocus);
  EXPECT_EQ(fx.windows.activations, 0);

  // Closed at once: later activations still do not bring it back.
  window->press(DialogAction::closeWelcome);
  fx.ui.showWelcomeIfNeeded();
  fx.ui.showWelcomeIfNeeded();
  EXPECT_EQ(fx.windows.windows.size(), 1u);

  // The menu's item still opens it.
  fx.ui.showWelcome();
  ASSERT_EQ(fx.windows.windows.size(), 2u);
  EXPECT_TRUE(fx.windows.windows[1]->visible);
}

TEST_F(WelcomeTest, LaterDropsTheWindow) {
  fx.ui.showWelcome();
  RecordingDialogWindow* window = fx.window(ww::kTitle);
  ASSERT_TRUE(window->press(DialogAction::closeWelcome));
  EXPECT_TRUE(window->closed);
  fx.mainQueue.drain();
  EXPECT_TRUE(window->released);
  // Hidden by the title bar, it comes back as it was.
  fx.ui.showWelcome();
  RecordingDialogWindow* next = fx.window(ww::kTitle);
  ASSERT_NE(next, window);
  next->closeFromTitleBar();
  fx.ui.showWelcome();
  EXPECT_EQ(fx.window(ww::kTitle), next);
  EXPECT_EQ(fx.windows.windows.size(), 2u);
}

TEST_F(WelcomeTest, SetupGuideGotItDoesNothingMore) {
  fx.ui.showWelcome();
  RecordingDialogWindow* window = fx.window(ww::kTitle);
  fx.alerts.answers = {1};
  fx.events.clear();  // the window's own activation does not count for the alert
  ASSERT_TRUE(window->press(DialogAction::openSetupGuide));
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::informational);
  EXPECT_EQ(fx.lastAlert().message, "如何把输入法加到系统里");
  EXPECT_EQ(fx.lastAlert().informativeText,
            "1. 打开系统设置 → 键盘 → 输入法\n"
            "2. 点击“编辑”或“+”\n"
            "3. 在“其他”里找到“" +
                kName +
                "”\n"
                "4. 添加后用 Control + Space 切换");
  EXPECT_EQ(fx.lastAlert().buttons, (std::vector<std::string>{"打开系统设置", "我知道了"}));
  EXPECT_TRUE(fx.everyAlertActivated());
  EXPECT_TRUE(fx.urls.opened.empty());
  EXPECT_TRUE(window->visible);
  EXPECT_FALSE(window->closed);
}

TEST_F(WelcomeTest, SetupGuideOpensTheKeyboardSettings) {
  fx.alerts.answers = {0};
  fx.ui.showSetupGuide();
  EXPECT_EQ(fx.urls.opened,
            (std::vector<std::string>{
                "x-apple.systempreferences:com.apple.Keyboard-Settings.extension"}));
}

TEST_F(WelcomeTest, KeyboardSettingsFallBackInOrder) {
  const std::string newer = "x-apple.systempreferences:com.apple.Keyboard-Settings.extension";
  const std::string older = "x-apple.systempreferences:com.apple.preference.keyboard";
  const std::string app = "file:///System/Applications/System%20Settings.app";

  fx.urls.refused = {newer};
  fx.ui.openKeyboardSettings();
  EXPECT_EQ(fx.urls.opened, (std::vector<std::string>{newer, older}));

  fx.urls.opened.clear();
  fx.urls.refused = {newer, older, app};
  fx.ui.openKeyboardSettings();
  // The settings application is opened whatever it answers, and nothing comes after it.
  EXPECT_EQ(fx.urls.opened, (std::vector<std::string>{newer, older, app}));
}

// On Linux the guides speak of that desktop, and its own settings program opens: the running
// desktop's first, the next one found when it is missing, an explanation when there is none.
TEST_F(WelcomeTest, LinuxGuidesAndSettingsPrograms) {
  fx.system.family = DesktopFamily::linuxDesktop;
  fx.ui.showWelcome();
  const auto& steps = std::get<LabelControl>(fx.window(ww::kTitle)->control(ww::kSteps)->kind).text;
  EXPECT_NE(steps.find("Uyghur (Ornavel)"), std::string::npos);
  EXPECT_EQ(steps.find("Control + Space"), std::string::npos);

  const TemporaryFolder bin;
  const std::filesystem::path folder = bin.path();
  const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  auto install = [&](const char* name) {
    std::ofstream(folder / name) << "#!/bin/sh\n";
    std::filesystem::permissions(folder / name, std::filesystem::perms::owner_all);
  };
  const std::string path = "relative:" + folder.string();
  setenv("PATH", path.c_str(), 1);
  struct Row {
    const char* desktop;
    std::vector<const char*> installed;
    const char* launched;  // null: none, and the user is told where to go instead
  };
  const std::vector<Row> rows = {
      {"GNOME", {"gnome-control-center", "systemsettings"}, "gnome-control-center"},
      {"ubuntu:GNOME", {"gnome-control-center", "systemsettings"}, "gnome-control-center"},
      {"KDE", {"gnome-control-center", "systemsettings"}, "systemsettings"},
      {"KDE", {"gnome-control-center", "systemsettings5"}, "systemsettings5"},
      {"XFCE", {"systemsettings"}, "systemsettings"},
      {"KDE", {}, nullptr},
  };
  for (const Row& row : rows) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const char* name : row.installed)
      install(name);
    setenv("XDG_CURRENT_DESKTOP", row.desktop, 1);
    fx.processes.launched.clear();
    fx.alerts.shown.clear();
    fx.ui.openKeyboardSettings();
    if (row.launched == nullptr) {
      EXPECT_TRUE(fx.processes.launched.empty()) << row.desktop;
      EXPECT_EQ(fx.alerts.shown.size(), 1u) << row.desktop;
      continue;
    }
    ASSERT_EQ(fx.processes.launched.size(), 1u) << row.desktop;
    EXPECT_EQ(fx.processes.launched[0].path, (folder / row.launched).string()) << row.desktop;
    EXPECT_TRUE(fx.alerts.shown.empty()) << row.desktop;
  }
  EXPECT_TRUE(fx.urls.opened.empty());
  setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
}  // namespace ornav
