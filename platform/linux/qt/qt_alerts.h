// Modal alerts on Qt (QMessageBox).
#pragma once

#include <QMessageBox>
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
};

}  // namespace ornav::linux_platform
