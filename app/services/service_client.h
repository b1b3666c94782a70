// What the service operations run on: the ports they use and the facts of this installation. The
// application builds one ServiceClient and installs it; UpdateService's operations (a namespace of
// statics, as its callers know it) forward to the installed one. Without one installed every
// operation still completes, as "not configured".
#pragma once

#include <optional>
#include <string>

#include "base/installed.h"
#include "ports/platform.h"

namespace ornav {

struct ServiceEnvironment {
  Settings* settings = nullptr;
  MainQueue* mainQueue = nullptr;
  BackgroundQueue* backgroundQueue = nullptr;
  const Clock* clock = nullptr;
  HttpSession* http = nullptr;
  DownloadSession* downloads = nullptr;
  ProcessRunner* processes = nullptr;
  const Folders* folders = nullptr;
  const SystemInfo* systemInfo = nullptr;

  // Scheme, host and path of the web service; every endpoint is formed from it. Empty or
  // unusable: the service is not configured and no request is made.
  std::string baseURL = {};
  // The running version ("CFBundleShortVersionString", "1.0" when the bundle has none).
  std::string version = "1.0";
  // Replaces every request and download time-out (10, 15, 12, 8 and 60 seconds) when set, for a
  // host that must not wait that long (tests of an unresponsive server).
  std::optional<double> timeoutSeconds = {};
};

class ServiceClient {
 public:
  explicit ServiceClient(ServiceEnvironment environment) : environment_(std::move(environment)) {}
  const ServiceEnvironment& environment() const { return environment_; }

  // The installed client's environment; an empty one (nothing configured) while none is.
  static const ServiceEnvironment& current();

 private:
  ServiceEnvironment environment_;
};

using InstalledServiceClient = Installed<ServiceClient>;

}  // namespace ornav
