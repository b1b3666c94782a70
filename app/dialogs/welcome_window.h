// The welcome window and the setup guide: how to add the input method to the system's input
// sources, under the display name it is listed with there, in the words of the user's desktop.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/alerts.h"
#include "ports/dialog_window.h"
#include "ports/system_info.h"

namespace ornav::welcome_window {

inline constexpr const char* kTitle = "欢迎使用";

// Control names.
inline constexpr const char* kWelcomeTitle = "title";
inline constexpr const char* kSteps = "steps";
inline constexpr const char* kSetupGuideButton = "setupGuide";
inline constexpr const char* kLaterButton = "later";

// The input method's name as the system lists it among its input sources.
std::string_view displayName();

WindowDescription describe(DesktopFamily desktop);

// The setup guide alert; its first button opens the keyboard settings.
AlertDescription setupGuide(DesktopFamily desktop);

// Told when the desktop's keyboard settings could not be opened: where to go by hand.
AlertDescription settingsUnavailable();

// Where the keyboard settings are on macOS, in the order to try them: the keyboard pane of the
// newer System Settings, that of the older System Preferences, then the settings application.
std::vector<std::string> keyboardSettingsAddresses();

// A settings program of a Linux desktop with the arguments that open its keyboard page.
struct SettingsProgram {
  std::string name;
  std::vector<std::string> arguments;
  friend bool operator==(const SettingsProgram&, const SettingsProgram&) = default;
};

// GNOME's and KDE's settings programs, those of the running desktop (its XDG_CURRENT_DESKTOP
// value, a colon-separated list) first.
std::vector<SettingsProgram> linuxKeyboardSettings(std::string_view currentDesktop);

}  // namespace ornav::welcome_window
