// The system log on macOS: the unified log (os_log), under the application's subsystem. Each
// message is marked public so that it is readable in Console and `log show` rather than
// redacted as "<private>".
#pragma once

#include <memory>
#include <string>

#include "ports/system_log.h"

namespace ornav::mac_platform {

class OsSystemLog final : public SystemLog {
 public:
  OsSystemLog(const std::string& subsystem, const std::string& category);
  ~OsSystemLog() override;

  void write(const std::string& message) override;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace ornav::mac_platform
