// The welcome window and the setup guide: how to add the input method to the system's input
// sources, under the display name it is listed with there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/alerts.h"
#include "ports/dialog_window.h"

namespace ornav::welcome_window {

inline constexpr const char* kTitle = "欢迎使用";

// Control names.
inline constexpr const char* kWelcomeTitle = "title";
inline constexpr const char* kSteps = "steps";
inline constexpr const char* kSetupGuideButton = "setupGuide";
inline constexpr const char* kLaterButton = "later";

// The input method's name as the system lists it among its input sources.
std::string_view displayName();

WindowDescription describe();

// The setup guide alert; its first button opens the keyboard settings.
AlertDescription setupGuide();

// Where the keyboard settings are, in the order to try them: the keyboard pane of the newer
// System Settings, that of the older System Preferences, then the settings application itself.
std::vector<std::string> keyboardSettingsAddresses();

}  // namespace ornav::welcome_window
