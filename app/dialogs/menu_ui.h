// The one place that builds, keeps, shows and closes the input method's windows and alerts: the
// about, welcome, key map, update and feedback windows, the setup guide and the upload consent
// prompt.
//
// There is at most one window of each kind; kinds may be open together. A window's reference
// stays set while its title-bar button only hides it (asking again brings back the same window,
// typed text included); its own close or cancel button drops it, so the next request builds a
// fresh one. Everything runs on the main thread; service results arrive on the main queue.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/menu_ui_interface.h"
#include "dialogs/dialog_services.h"
#include "dialogs/key_map_window.h"
#include "ports/alerts.h"
#include "ports/bundle.h"
#include "ports/dialog_window.h"
#include "ports/main_queue.h"
#include "ports/process_runner.h"
#include "ports/system_info.h"
#include "ports/url_opener.h"

namespace ornav {

struct MenuUIPorts {
  WindowSystem* windows = nullptr;
  Alerts* alerts = nullptr;
  UrlOpener* urls = nullptr;
  MainQueue* mainQueue = nullptr;
  const Bundle* bundle = nullptr;  // for the icon file; may be null
  // Which desktop the guides speak of (null: macOS), and what starts a Linux desktop's settings.
  const SystemInfo* system = nullptr;
  ProcessRunner* processes = nullptr;
  // The font of the candidate words at a size, for the letters the key map window draws; null
  // draws them in the system font.
  std::function<Font(double size)> wordFont;
};

class MenuUI : public MenuUIInterface {
 public:
  // The ports and the services must outlive this object. A completion that arrives after it was
  // destroyed is dropped.
  MenuUI(MenuUIPorts ports, DialogServices& services);
  ~MenuUI() override;
  MenuUI(const MenuUI&) = delete;
  MenuUI& operator=(const MenuUI&) = delete;

  // ---- Entry points of the input menu and the controller's activation ----
  void showAbout() override;
  void showKeyMap(const KeyMap& keyMap) override;
  void showWelcome() override;
  void showWelcomeIfNeeded() override;
  void checkForUpdates() override;
  void showPendingInstallNoticeIfNeeded() override;
  void sendFeedback() override;
  void confirmUploadConsent(std::function<void(bool)> answer) override;

  // The dialogs' shared action target: what a window's button does.
  void perform(DialogAction action);

  // ---- Welcome and setup guide ----
  void showSetupGuide();
  void openKeyboardSettings();
  void closeWelcome();

  // ---- Update ----
  void showUpdateWindow(const UpdateInfo& info);
  void refreshUpdateWindow(const UpdateInfo& info);
  void startInAppUpdate();
  void applyUpdateStage(const InAppUpdateStage& stage);
  void closeUpdateWindow();

  // ---- Feedback ----
  void submitFeedback();
  void openFeedbackPage();
  void closeFeedback();

 private:
  // A window that is shown together with the number of the build it came from: a request that
  // was started from a window changes that window only, never a newer one built after it closed.
  struct Shown {
    std::unique_ptr<DialogWindow> window;
    std::uint64_t build = 0;
    explicit operator bool() const { return window != nullptr; }
    DialogWindow* operator->() const { return window.get(); }
  };

  Shown makeWindow(const WindowDescription& description);
  void present(DialogWindow& window);
  DesktopFamily desktop() const;
  // Closes the window and drops it once the current work item has returned: the button whose
  // action closed it may still be on the call stack.
  void drop(Shown& shown);
  int runAlert(const AlertDescription& alert);
  void notice(AlertDescription::Style style, std::string message, std::string informativeText);
  // Completions and button handlers hold this weakly and do nothing once this object is gone.
  std::weak_ptr<MenuUI*> alive() const { return self_; }

  void finishInstall(std::uint64_t build, const InAppUpdateResult& result);
  void applyUpdateStage(std::uint64_t build, const InAppUpdateStage& stage);
  void finishFeedback(std::uint64_t build, const FeedbackResult& result);

  MenuUIPorts ports_;
  DialogServices& services_;
  std::shared_ptr<MenuUI*> self_;
  std::uint64_t builds_ = 0;

  Shown aboutWindow_;
  Shown keyMapWindow_;
  key_map_window::Layout keyMapShown_;  // what keyMapWindow_ draws
  Shown welcomeWindow_;
  Shown updateWindow_;
  std::optional<UpdateInfo> updateInfo_;
  ProgressState updateBar_;  // what the update window's bar shows
  Shown feedbackWindow_;
};

}  // namespace ornav
