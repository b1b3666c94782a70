// Modal alerts on Qt (QMessageBox).
#pragma once

#include "ports/alerts.h"

class QMessageBox;

namespace ornav::linux_platform {

class QtAlerts : public Alerts {
 public:
  int runModal(const AlertDescription& alert) override;
};

}  // namespace ornav::linux_platform
