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

  // The program's own main window, when it has one: dialogs become its children (in front of it,
  // not of every application), open beside it and give the keyboard back to it when they close.
  void setOwner(QWidget* owner) { owner_ = owner; }

 private:
  QPointer<QWidget> owner_;
  ImageLoader images_;
  std::vector<QPointer<QWidget>> dialogs_;  // in creation order; null once a window is gone
};

}  // namespace ornav::linux_platform
