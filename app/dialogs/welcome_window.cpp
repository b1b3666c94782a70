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

// The name a Linux desktop lists the engine under among its input sources.
constexpr const char* kLinuxSourceName = "Uyghur (Ornavel)";

std::vector<std::string> steps(DesktopFamily desktop, bool forGuide) {
  const std::string name(displayName());
  if (desktop == DesktopFamily::linuxDesktop) {
    return {
        "1. 打开系统设置 → 键盘 → 输入源",
        "2. 点击“+”添加输入源",
        std::string("3. 在“维吾尔语”或“其他”里找到“") + kLinuxSourceName + "”并添加",
        forGuide ? "4. 添加后用 Super + 空格 切换（KDE 可在设置里另选快捷键）"
                 : "4. 用 Super + 空格 切换到本输入法",
    };
  }
  return {
      "1. 打开系统设置 → 键盘 → 输入法",
      "2. 点击“编辑”或“+”",
      forGuide ? "3. 在“其他”里找到“" + name + "”" : "3. 在“其他”里找到“" + name + "”并添加",
      forGuide ? "4. 添加后用 Control + Space 切换" : "4. 用 Control + Space 切换到本输入法",
  };
}

}  // namespace

std::string_view displayName() {
  return ornav::displayName;
}

WindowDescription describe(DesktopFamily desktop) {
  const std::string name(displayName());
  std::vector<std::string> lines = steps(desktop, /*forGuide=*/false);
  lines.insert(lines.begin(), "如果还没把输入法加到系统里：");
  // Title, five lines of steps and the buttons, with even margins between them.
  WindowDescription window = shortcutWindow(kTitle, {470, 202});
  window.controls = {
      label(kWelcomeTitle, {20, 160, 430, 22}, "欢迎使用 " + name + " 输入法",
            Font::boldSystem(16)),
      label(kSteps, {20, 72, 430, 76}, joinLines(lines), Font::system(12), secondaryText()),
      button(kSetupGuideButton, {20, 20, 112, 32}, "设置引导", DialogAction::openSetupGuide),
      button(kLaterButton, {376, 20, 74, 32}, "稍后", DialogAction::closeWelcome),
  };
  return window;
}

AlertDescription setupGuide(DesktopFamily desktop) {
  AlertDescription alert;
  alert.style = AlertDescription::Style::informational;
  alert.message = "如何把输入法加到系统里";
  alert.informativeText = joinLines(steps(desktop, /*forGuide=*/true));
  alert.buttons = {"打开系统设置", "我知道了"};
  return alert;
}

AlertDescription settingsUnavailable() {
  AlertDescription alert;
  alert.style = AlertDescription::Style::warning;
  alert.message = "无法打开系统设置";
  alert.informativeText =
      std::string("没有找到 GNOME 或 KDE 的系统设置。请打开桌面的键盘或输入源设置，") + "添加“" +
      kLinuxSourceName + "”。";
  alert.buttons = {"好"};
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

std::vector<SettingsProgram> linuxKeyboardSettings(std::string_view currentDesktop) {
  const SettingsProgram gnome{"gnome-control-center", {"keyboard"}};
  // Plasma 6 names its settings program without the number Plasma 5 had.
  const SettingsProgram plasma{"systemsettings", {"kcm_keyboard"}};
  const SettingsProgram plasma5{"systemsettings5", {"kcm_keyboard"}};
  bool kdeFirst = false;
  std::string_view rest = currentDesktop;
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view entry = rest.substr(0, colon);
    if (entry == "KDE") kdeFirst = true;
    if (entry == "GNOME" || entry == "KDE") break;
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
  }
  if (kdeFirst) return {plasma, plasma5, gnome};
  return {gnome, plasma, plasma5};
}

}  // namespace ornav::welcome_window
