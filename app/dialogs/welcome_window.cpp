#include "dialogs/welcome_window.h"

#include "ornav_display_name.h"

#include "dialogs/dialog_controls.h"
#include "dialogs/shortcut_window.h"

namespace ornav::welcome_window {

namespace {

using dialog_controls::button;
using dialog_controls::label;
using dialog_controls::secondaryText;

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += "\n";
    text += line;
  }
  return text;
}

}  // namespace

std::string_view displayName() {
  return ornav::displayName;
}

WindowDescription describe() {
  const std::string name(displayName());
  const std::string steps = joinLines({
      "如果还没把输入法加到系统里：",
      "1. 打开系统设置 → 键盘 → 输入法",
      "2. 点击“编辑”或“+”",
      "3. 在“其他”里找到“" + name + "”并添加",
      "4. 用 Control + Space 切换到本输入法",
  });
  WindowDescription window = shortcutWindow(kTitle, {470, 320});
  window.controls = {
      label(kWelcomeTitle, {20, 274, 430, 22}, "欢迎使用 " + name + " 输入法",
            Font::boldSystem(16)),
      label(kSteps, {20, 108, 430, 82}, steps, Font::system(12), secondaryText()),
      button(kSetupGuideButton, {20, 32, 112, 32}, "设置引导", DialogAction::openSetupGuide),
      button(kLaterButton, {376, 32, 74, 32}, "稍后", DialogAction::closeWelcome),
  };
  return window;
}

AlertDescription setupGuide() {
  const std::string name(displayName());
  AlertDescription alert;
  alert.style = AlertDescription::Style::informational;
  alert.message = "如何把输入法加到系统里";
  alert.informativeText = joinLines({
      "1. 打开系统设置 → 键盘 → 输入法",
      "2. 点击“编辑”或“+”",
      "3. 在“其他”里找到“" + name + "”",
      "4. 添加后用 Control + Space 切换",
  });
  alert.buttons = {"打开系统设置", "我知道了"};
  return alert;
}

std::vector<std::string> keyboardSettingsAddresses() {
  return {
      "x-apple.systempreferences:com.apple.Keyboard-Settings.extension",
      "x-apple.systempreferences:com.apple.preference.keyboard",
      // The file URL of "/System/Applications/System Settings.app", its space escaped.
      "file:///System/Applications/System%20Settings.app",
  };
}

}  // namespace ornav::welcome_window
