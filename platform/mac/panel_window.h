// The candidate panel's window on macOS: a borderless, non-activating NSPanel at the scene's level
// (pop-up menus for the candidate panel, or one above the client's window where that floats as
// high or higher, as InputMethodKit asks) that floats over every Space and beside full-screen
// windows, never hides when the application is inactive, and never becomes key, so the client
// keeps the keyboard focus. It draws the PanelScene as given: the rounded background, each cell as
// a rounded, clipped layer with its word and digit drawn at the scene's frames.
#pragma once

#include <functional>
#include <memory>

#include "ports/panel_window.h"

namespace ornav::mac_platform {

class AppKitPanelWindow final : public PanelWindow {
 public:
  AppKitPanelWindow();
  // Takes the window off screen; nothing calls the click handler afterwards.
  ~AppKitPanelWindow() override;
  AppKitPanelWindow(const AppKitPanelWindow&) = delete;
  AppKitPanelWindow& operator=(const AppKitPanelWindow&) = delete;

  void show(const PanelScene& scene) override;
  void hide() override;
  bool isVisible() const override;
  void setWordOffset(int cellIndex, double offset) override;
  void setClickHandler(std::function<void(int cellIndex)> handler) override;

 private:
  struct Window;
  std::unique_ptr<Window> window_;
};

}  // namespace ornav::mac_platform
