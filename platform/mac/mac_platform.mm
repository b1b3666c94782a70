#import "platform/mac/mac_platform.h"

#include "core/process_entry.h"

namespace ornav::mac_platform {

MacPlatform::MacPlatform()
    : systemLog_(bundle_.identifier().value_or(kFallbackBundleID), "general") {}

Platform MacPlatform::ports() {
  return Platform{.settings = &settings_,
                  .mainQueue = &mainQueue_,
                  .backgroundQueue = &backgroundQueue_,
                  .clock = &clock_,
                  .http = &http_,
                  .downloads = &downloads_,
                  .processes = &processes_,
                  .bundle = &bundle_,
                  .folders = &folders_,
                  .systemLog = &systemLog_,
                  .systemInfo = &systemInfo_,
                  .textMeasurer = &textMeasurer_,
                  .screens = &screens_,
                  .windows = &windows_,
                  .alerts = &alerts_,
                  .urlOpener = &urlOpener_,
                  .inputMenu = &inputMenu_};
}

}  // namespace ornav::mac_platform
