#include "platform/linux/linux_platform.h"

namespace ornav::linux_platform {

LinuxPlatform::LinuxPlatform(LinuxPlatformOptions options)
    : mainQueue_(options.mainQueue != nullptr ? options.mainQueue : &runLoop_),
      settings_(options.settingsFile.value_or(FileSettings::defaultPath()), &systemLog_),
      http_(*mainQueue_),
      downloads_(folders_.temporary()),
      bundle_(options.bundle) {
  if (bundle_ == nullptr) {
    const auto path =
        options.bundlePath ? options.bundlePath : DirectoryBundle::locateFromExecutable();
    if (path) {
      ownBundle_ = std::make_unique<DirectoryBundle>(*path);
      bundle_ = ownBundle_.get();
    }
  }
}

// Transfers still running end before the run loop they report to.
LinuxPlatform::~LinuxPlatform() = default;

Platform LinuxPlatform::ports() {
  return Platform{.settings = &settings_,
                  .mainQueue = mainQueue_,
                  .backgroundQueue = &workers_,
                  .clock = &clock_,
                  .http = &http_,
                  .downloads = &downloads_,
                  .processes = &processes_,
                  .bundle = bundle_,
                  .folders = &folders_,
                  .systemLog = &systemLog_,
                  .systemInfo = &systemInfo_};
}

}  // namespace ornav::linux_platform
