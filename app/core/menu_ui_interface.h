// The dialog operations the input controller opens from its menu and after activation. The
// windows and alerts themselves belong to the dialogs subsystem.
#pragma once

#include <functional>

namespace ornav {

class KeyMap;

class MenuUIInterface {
 public:
  virtual ~MenuUIInterface() = default;

  virtual void showWelcome() = 0;
  virtual void showAbout() = 0;
  // The layout `keyMap` types, drawn as a keyboard.
  virtual void showKeyMap(const KeyMap& keyMap) = 0;
  virtual void checkForUpdates() = 0;
  virtual void sendFeedback() = 0;
  virtual void showWelcomeIfNeeded() = 0;
  virtual void showPendingInstallNoticeIfNeeded() = 0;
  // Asks whether the user's word counts may be uploaded. `answer` runs later on the main queue
  // (after the menu action that asked has returned), with true only when the user agreed.
  virtual void confirmUploadConsent(std::function<void(bool)> answer) = 0;
};

// A process without dialogs: every request is ignored and consent is never given.
class NoMenuUI : public MenuUIInterface {
 public:
  void showWelcome() override {}
  void showAbout() override {}
  void showKeyMap(const KeyMap&) override {}
  void checkForUpdates() override {}
  void sendFeedback() override {}
  void showWelcomeIfNeeded() override {}
  void showPendingInstallNoticeIfNeeded() override {}
  void confirmUploadConsent(std::function<void(bool)>) override {}
};

}  // namespace ornav
