#include "platform/linux/qt/qt_alerts.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

namespace {

QMessageBox::Icon iconOf(AlertDescription::Style style) {
  switch (style) {
    case AlertDescription::Style::informational:
      return QMessageBox::Information;
    case AlertDescription::Style::warning:
      return QMessageBox::Warning;
    case AlertDescription::Style::critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

// Texts wrap only beyond this width (logical pixels); a shorter text keeps each line whole, so
// a short sentence never leaves its last word on a line of its own.
constexpr int kMaxTextWidth = 360;

void keepLinesWhole(QMessageBox& box) {
  for (QLabel* label : box.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;  // the icon
    // The label's own measure of its unwrapped lines, in the font the style gives it.
    label->ensurePolished();
    const bool wraps = label->wordWrap();
    label->setWordWrap(false);
    const int unwrapped = label->sizeHint().width();
    label->setWordWrap(wraps);
    label->setMinimumWidth(std::min(unwrapped, kMaxTextWidth));
  }
}

}  // namespace

std::unique_ptr<QMessageBox> makeAlertBox(const AlertDescription& alert,
                                          std::vector<QAbstractButton*>& buttons) {
  auto box = std::make_unique<QMessageBox>();
  box->setWindowFlag(Qt::WindowStaysOnTopHint);
  box->setIcon(iconOf(alert.style));
  box->setTextFormat(Qt::PlainText);
  box->setText(toQString(alert.message));
  box->setInformativeText(toQString(alert.informativeText));
  keepLinesWhole(*box);

  const std::vector<std::string> titles =
      alert.buttons.empty() ? std::vector<std::string>{"好"} : alert.buttons;
  // One role for all keeps the buttons in the described order; the first is the default.
  buttons.clear();
  for (const std::string& title : titles) {
    buttons.push_back(box->addButton(toQString(title), QMessageBox::ActionRole));
  }
  box->setDefaultButton(static_cast<QPushButton*>(buttons.front()));
  return box;
}

int QtAlerts::runModal(const AlertDescription& alert) {
  std::vector<QAbstractButton*> buttons;
  const std::unique_ptr<QMessageBox> box = makeAlertBox(alert, buttons);
  if (!owner_.isNull() && owner_->isVisible()) box->setParent(owner_.data(), Qt::Dialog);
  box->exec();

  const QAbstractButton* chosen = box->clickedButton();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i] == chosen) return int(i);
  }
  return -1;
}

}  // namespace ornav::linux_platform
