#import "platform/mac/os_system_log.h"

#include <os/log.h>

#include "base/text.h"

namespace ornav::mac_platform {

struct OsSystemLog::Handle {
  os_log_t log;
};

OsSystemLog::OsSystemLog(const std::string& subsystem, const std::string& category)
    : handle_(
          std::make_unique<Handle>(Handle{os_log_create(subsystem.c_str(), category.c_str())})) {}

OsSystemLog::~OsSystemLog() = default;

void OsSystemLog::write(const std::string& message) {
  // The log reads a C string: an embedded NUL would cut the entry, and ill-formed UTF-8 would
  // show as escapes, so both are made visible as replacement characters instead.
  std::string text = toValidUtf8(message);
  for (char& c : text) {
    if (c == '\0') c = '?';
  }
  os_log(handle_->log, "%{public}s", text.c_str());
}

}  // namespace ornav::mac_platform
