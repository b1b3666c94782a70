// The dialog operations the input controller opens from its menu and after activation. The
// windows and alerts themselves belong to the dialogs subsystem.
#pragma once

#include <functional>

namespace ornav {

class MenuUIInterface {
 public:
  virtual ~MenuUIInterface() = default;

  virtual void showWelcome() = 0;
  virtual void showAbout() = 0;
  virtual void checkForUpdates() = 0;
  virtual void sendFeedback() = 0;
  virtual void showWelcomeIfNeeded() = 0;
  virtual void showPendingInstallNoticeIfNeeded() = 0;
  // Asks whether the user's word counts may be uploaded. `answer` runs later on the main queue
  // (after the menu action that asked has returned), with true only when the user agreed.
  virtual void confirmUploadConsent(std::function<void(bool)> answer) = 0;
};

}  // namespace ornav
