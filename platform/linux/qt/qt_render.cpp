#include "platform/linux/qt/qt_render.h"

#include "platform/linux/qt/qt_alerts.h"

#include "platform/linux/qt/qt_dialog_window.h"
#include "platform/linux/qt/qt_panel_window.h"

namespace ornav::linux_platform {

QImage renderPanelScene(const PanelScene& scene) {
  PanelWidget widget;
  widget.setScene(scene);
  return widget.grab().toImage();
}

QImage renderWindowDescription(const WindowDescription& description, const Bundle* bundle) {
  QtDialogWindow window(description, ImageLoader(bundle));
  window.widget().setAttribute(Qt::WA_DontShowOnScreen);
  window.show();
  return window.render();
}

QImage renderPanelWindow(const PanelWindow& window) {
  const auto* panel = dynamic_cast<const QtPanelWindow*>(&window);
  return panel != nullptr ? panel->render() : QImage();
}

QImage renderDialogWindow(const DialogWindow& window) {
  const auto* dialog = dynamic_cast<const QtDialogWindow*>(&window);
  return dialog != nullptr ? dialog->render() : QImage();
}

QImage renderAlert(const AlertDescription& alert) {
  std::vector<QAbstractButton*> buttons;
  const std::unique_ptr<QMessageBox> box = makeAlertBox(alert, buttons);
  box->setAttribute(Qt::WA_DontShowOnScreen);
  box->show();
  box->adjustSize();
  return box->grab().toImage();
}

bool savePng(const QImage& image, const std::filesystem::path& file) {
  return !image.isNull() && image.save(QString::fromStdString(file.string()), "PNG");
}

}  // namespace ornav::linux_platform
