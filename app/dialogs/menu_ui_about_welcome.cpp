// The about window, the welcome window and the setup guide.
#include <cstdlib>

#include "base/files.h"
#include "base/url_text.h"
#include "dialogs/about_window.h"
#include "dialogs/menu_ui.h"
#include "dialogs/welcome_window.h"

namespace ornav {

void MenuUI::showAbout() {
  if (aboutWindow_) {
    present(*aboutWindow_.window);  // the texts were fetched when it was built
    return;
  }
  aboutWindow_ = makeWindow(
      about_window::describe(services_.defaultAbout(), services_.currentVersion(), ports_.bundle));
  if (!aboutWindow_) return;
  present(*aboutWindow_.window);
  services_.fetchAboutContent(
      [weak = alive(), build = aboutWindow_.build](std::optional<AboutContent> content) {
        auto self = weak.lock();
        if (!self || !content) return;  // without an answer the built-in texts stay
        Shown& window = (*self)->aboutWindow_;
        if (!window || window.build != build) return;
        window->setText(about_window::kProductTitle, content->title);
        window->setText(about_window::kDescription, content->description);
        window->setText(about_window::kCopyright, content->copyright);
      });
}

void MenuUI::showWelcomeIfNeeded() {
  if (services_.hasShownWelcome()) return;
  // Marked first, so the automatic welcome shows at most once even if it is closed at once.
  services_.setHasShownWelcome(true);
  if (welcomeWindow_) return;
  // It comes up by itself while the user starts typing: beside their text, keys staying there.
  welcomeWindow_ = makeWindow(welcome_window::describe(desktop()));
  if (welcomeWindow_) welcomeWindow_->showWithoutFocus();
}

void MenuUI::showWelcome() {
  if (welcomeWindow_) {
    present(*welcomeWindow_.window);
    return;
  }
  welcomeWindow_ = makeWindow(welcome_window::describe(desktop()));
  if (welcomeWindow_) present(*welcomeWindow_.window);
}

void MenuUI::closeWelcome() {
  drop(welcomeWindow_);
}

void MenuUI::showSetupGuide() {
  if (runAlert(welcome_window::setupGuide(desktop())) == 0) openKeyboardSettings();
}

void MenuUI::openKeyboardSettings() {
  if (desktop() == DesktopFamily::linuxDesktop) {
    const char* current = std::getenv("XDG_CURRENT_DESKTOP");
    const char* path = std::getenv("PATH");
    for (const auto& program : welcome_window::linuxKeyboardSettings(current ? current : "")) {
      const std::optional<std::string> found =
          findProgram(program.name, path ? path : "/usr/bin:/bin");
      if (found && ports_.processes && ports_.processes->launch(*found, program.arguments)) return;
    }
    runAlert(welcome_window::settingsUnavailable());
    return;
  }
  const std::vector<std::string> addresses = welcome_window::keyboardSettingsAddresses();
  for (std::size_t i = 0; i + 1 < addresses.size(); ++i) {
    if (!url_text::isWellFormed(addresses[i])) continue;
    if (ports_.urls->open(addresses[i])) return;
  }
  // The settings application itself, whatever the result.
  ports_.urls->open(addresses.back());
}

}  // namespace ornav
