#include "platform/linux/qt/qt_window_system.h"

#include <algorithm>

#include "platform/linux/qt/qt_dialog_window.h"
#include "platform/linux/qt/qt_panel_window.h"

namespace ornav::linux_platform {

std::unique_ptr<DialogWindow> QtWindowSystem::createWindow(const WindowDescription& description) {
  auto window = std::make_unique<QtDialogWindow>(description, images_, owner_.data());
  std::erase_if(dialogs_, [](const QPointer<QWidget>& dialog) { return dialog.isNull(); });
  dialogs_.emplace_back(&window->widget());
  return window;
}

std::unique_ptr<PanelWindow> QtWindowSystem::createPanelWindow() {
  return std::make_unique<QtPanelWindow>();
}

void QtWindowSystem::activateApplication() {
  QWidget* latest = nullptr;
  for (const QPointer<QWidget>& dialog : dialogs_) {
    if (dialog.isNull() || !dialog->isVisible()) continue;
    dialog->raise();
    latest = dialog.data();
  }
  if (latest != nullptr) latest->activateWindow();
}

}  // namespace ornav::linux_platform
