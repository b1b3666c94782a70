// Modal alerts with NSAlert. The application is activated first: it is not the active one while
// the user types, and an alert of an inactive application would open behind the client's window.
// Once the alert is answered, the application the user was typing in gets the keyboard back.
#pragma once

#include "ports/alerts.h"

namespace ornav::mac_platform {

class AppKitAlerts final : public Alerts {
 public:
  int runModal(const AlertDescription& alert) override;
};

}  // namespace ornav::mac_platform
