#include "platform/linux/qt/qt_platform.h"

namespace ornav::linux_platform {

namespace {
LinuxPlatformOptions reportingTo(LinuxPlatformOptions options, MainQueue& mainQueue) {
  options.mainQueue = &mainQueue;
  return options;
}
}  // namespace

QtPlatform::QtPlatform(LinuxPlatformOptions options)
    : linux_(std::make_unique<LinuxPlatform>(reportingTo(std::move(options), mainQueue_))),
      windows_(std::make_unique<QtWindowSystem>(linux_->ports().bundle)) {}

QtPlatform::~QtPlatform() = default;

Platform QtPlatform::ports() {
  Platform ports = linux_->ports();
  ports.textMeasurer = &textMeasurer_;
  ports.screens = &screens_;
  ports.windows = windows_.get();
  ports.alerts = &alerts_;
  ports.urlOpener = &urlOpener_;
  ports.inputMenu = &inputMenu_;
  return ports;
}

}  // namespace ornav::linux_platform
