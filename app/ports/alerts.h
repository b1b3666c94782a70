// Modal alerts: a message, an informative text and one to three buttons.
#pragma once

#include <string>
#include <vector>

namespace ornav {

struct AlertDescription {
  enum class Style { informational, warning, critical };
  std::string message;
  std::string informativeText;
  Style style = Style::informational;
  std::vector<std::string> buttons;  // first is the default; empty shows a single "好"
};

class Alerts {
 public:
  virtual ~Alerts() = default;
  // Shows the alert modally on the main thread and answers the index of the chosen button
  // (0 = the first), or -1 when the alert was dismissed without a button.
  virtual int runModal(const AlertDescription& alert) = 0;
};

}  // namespace ornav
