#import "platform/mac/appkit_alerts.h"

#import <AppKit/AppKit.h>

#import "platform/mac/appkit_activation.h"
#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

namespace {

NSAlertStyle styleFor(AlertDescription::Style style) {
  switch (style) {
    case AlertDescription::Style::informational:
      return NSAlertStyleInformational;
    case AlertDescription::Style::warning:
      return NSAlertStyleWarning;
    case AlertDescription::Style::critical:
      return NSAlertStyleCritical;
  }
  return NSAlertStyleInformational;
}

}  // namespace

int AppKitAlerts::runModal(const AlertDescription& alert) {
  activateInputMethod();
  NSAlert* panel = [[NSAlert alloc] init];
  panel.messageText = toNSString(alert.message);
  panel.informativeText = toNSString(alert.informativeText);
  panel.alertStyle = styleFor(alert.style);
  const std::vector<std::string> titles =
      alert.buttons.empty() ? std::vector<std::string>{"好"} : alert.buttons;
  for (const std::string& title : titles) [panel addButtonWithTitle:toNSString(title)];
  // The buttons answer NSAlertFirstButtonReturn, the next number, and so on.
  const NSModalResponse response = [panel runModal];
  handBackActivationSoon();
  const NSInteger index = response - NSAlertFirstButtonReturn;
  if (index < 0 || index >= static_cast<NSInteger>(titles.size())) return -1;
  return static_cast<int>(index);
}

}  // namespace ornav::mac_platform
