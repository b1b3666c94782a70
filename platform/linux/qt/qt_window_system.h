// Dialog and panel windows on Qt.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/linux/qt/qt_images.h"
#include "ports/bundle.h"
#include "ports/dialog_window.h"

namespace ornav::linux_platform {

class QtWindowSystem : public WindowSystem {
 public:
  // Named images and the application icon come from `bundle`'s resources (may be null).
  explicit QtWindowSystem(const Bundle* bundle) : images_(bundle) {}

  std::unique_ptr<DialogWindow> createWindow(const WindowDescription& description) override;
  std::unique_ptr<PanelWindow> createPanelWindow() override;
  // Raises the dialog windows on screen and activates the latest of them.
  void activateApplication() override;

 private:
  ImageLoader images_;
  std::vector<QPointer<QWidget>> dialogs_;  // in creation order; null once a window is gone
};

}  // namespace ornav::linux_platform
