// Modal alerts on Qt (QMessageBox).
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <vector>

#include "ports/alerts.h"

namespace ornav::linux_platform {

// The message box of an alert, not yet shown; `buttons` receives its buttons in the described
// order (the first is the default).
std::unique_ptr<QMessageBox> makeAlertBox(const AlertDescription& alert,
                                          std::vector<QAbstractButton*>& buttons);

class QtAlerts : public Alerts {
 public:
  int runModal(const AlertDescription& alert) override;

  // The program's own main window, when it has one: alerts open over it as its children and hand
  // the keyboard back to it.
  void setOwner(QWidget* owner) { owner_ = owner; }

 private:
  QPointer<QWidget> owner_;
};

}  // namespace ornav::linux_platform
