// Dialog windows on macOS and the window system that makes them (and candidate panels). A dialog
// is a ShortcutWindow of fixed size, centred, at the description's level, with its controls at
// the description's frames; it is not released when closed, so the title bar's close button only
// takes it off screen and the next show brings back the same window with what it held. Showing it
// brings the input method to the front; closing it hands the keyboard back to the application
// the user was typing in. The
// application sets up no main menu, so the window performs the standard editing shortcuts itself,
// as the description's key-equivalent rule says.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ports/dialog_window.h"

namespace ornav::mac_platform {

class AppKitDialogWindow final : public DialogWindow {
 public:
  explicit AppKitDialogWindow(const WindowDescription& description);
  // Closes the window; no button reports to the handler afterwards.
  ~AppKitDialogWindow() override;
  AppKitDialogWindow(const AppKitDialogWindow&) = delete;
  AppKitDialogWindow& operator=(const AppKitDialogWindow&) = delete;

  void show() override;
  void showWithoutFocus() override;
  void close() override;
  bool isVisible() const override;
  bool setText(const std::string& control, const std::string& text) override;
  std::optional<std::string> text(const std::string& control) const override;
  bool setEnabled(const std::string& control, bool enabled) override;
  bool setProgress(const std::string& control, const ProgressState& state) override;
  void setActionHandler(std::function<void(DialogAction action)> handler) override;

 private:
  struct Window;
  std::unique_ptr<Window> window_;
};

class AppKitWindowSystem final : public WindowSystem {
 public:
  std::unique_ptr<DialogWindow> createWindow(const WindowDescription& description) override;
  std::unique_ptr<PanelWindow> createPanelWindow() override;
  void activateApplication() override;
};

}  // namespace ornav::mac_platform
