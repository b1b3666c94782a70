#include "dialogs/about_window.h"

#include "dialogs/dialog_controls.h"
#include "dialogs/shortcut_window.h"

namespace ornav::about_window {

using dialog_controls::label;
using dialog_controls::secondaryText;
using dialog_controls::tertiaryText;

std::vector<ImageSource> iconSources(const Bundle* bundle) {
  std::vector<ImageSource> sources = {{ImageSource::Kind::named, "AppIcon"}};
  if (bundle) {
    if (auto file = bundle->pathForResource("AppIcon", "icns")) {
      sources.push_back({ImageSource::Kind::file, file->string()});
    }
  }
  sources.push_back({ImageSource::Kind::applicationIcon, ""});
  return sources;
}

WindowDescription describe(const AboutContent& content, const std::string& currentVersion,
                           const Bundle* bundle) {
  constexpr TextAlignment centred = TextAlignment::center;
  WindowDescription window = shortcutWindow(kTitle, {380, 288});
  window.controls = {
      {kIcon, {158, 198, 64, 64}, ImageControl{iconSources(bundle)}},
      label(kProductTitle, {20, 166, 340, 22}, content.title, Font::boldSystem(15), std::nullopt,
            centred),
      label(kVersion, {20, 140, 340, 18}, "版本 " + currentVersion, Font::system(12),
            secondaryText(), centred),
      label(kDescription, {20, 60, 340, 48}, content.description, Font::system(12), secondaryText(),
            centred),
      label(kCopyright, {20, 16, 340, 16}, content.copyright, Font::system(10), tertiaryText(),
            centred),
  };
  return window;
}

}  // namespace ornav::about_window
