// Every port of the Linux program: the window-system-free ports of LinuxPlatform, reporting to
// the Qt event loop, and the Qt realisation of the user-interface ports. Build it on the GUI
// thread once the QApplication exists, and drop it before the QApplication.
#pragma once

#include "platform/linux/linux_platform.h"
#include "platform/linux/qt/qt_alerts.h"
#include "platform/linux/qt/qt_input_menu.h"
#include "platform/linux/qt/qt_main_queue.h"
#include "platform/linux/qt/qt_screens.h"
#include "platform/linux/qt/qt_text_measurer.h"
#include "platform/linux/qt/qt_url_opener.h"
#include "platform/linux/qt/qt_window_system.h"

namespace ornav::linux_platform {

class QtPlatform {
 public:
  // `options.mainQueue` is ignored: the main queue is the Qt event loop's.
  explicit QtPlatform(LinuxPlatformOptions options = {});
  ~QtPlatform();
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  // Every port, pointing into this object.
  Platform ports();

  LinuxPlatform& linuxPlatform() { return *linux_; }
  QtMainQueue& mainQueue() { return mainQueue_; }
  QtTextMeasurer& textMeasurer() { return textMeasurer_; }
  QtWindowSystem& windows() { return *windows_; }
  QtAlerts& alerts() { return alerts_; }
  QtInputMenu& inputMenu() { return inputMenu_; }

 private:
  // Declared first: transfers of the Linux platform report to it until they end.
  QtMainQueue mainQueue_;
  std::unique_ptr<LinuxPlatform> linux_;
  QtTextMeasurer textMeasurer_;
  QtScreens screens_;
  std::unique_ptr<QtWindowSystem> windows_;
  QtAlerts alerts_;
  QtUrlOpener urlOpener_;
  QtInputMenu inputMenu_;
};

}  // namespace ornav::linux_platform
