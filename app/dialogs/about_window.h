// The about window: the icon, the product's name, the running version, a description and the
// copyright notice, all centred.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports/bundle.h"
#include "ports/dialog_window.h"
#include "services/update_types.h"

namespace ornav::about_window {

inline constexpr const char* kTitle = "关于";

// Control names.
inline constexpr const char* kIcon = "icon";
inline constexpr const char* kProductTitle = "title";
inline constexpr const char* kVersion = "version";
inline constexpr const char* kDescription = "description";
inline constexpr const char* kCopyright = "copyright";

// Where the icon comes from, first that loads: the image named "AppIcon", the bundle's
// "AppIcon.icns" when it has one (`bundle` may be null), the application's own icon.
std::vector<ImageSource> iconSources(const Bundle* bundle);

WindowDescription describe(const AboutContent& content, const std::string& currentVersion,
                           const Bundle* bundle);

}  // namespace ornav::about_window
