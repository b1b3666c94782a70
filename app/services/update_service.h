// The client of the web service: a namespace of static operations with no instances. This header
// holds what every operation shares: the endpoints, the device identifier, the running version,
// the order of version strings and the normalisation of download links. How answers are read is
// in service_json.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/update_service_operations.h"

namespace ornav {

// The operations themselves (update check, installation, dictionaries, feedback, about) are
// declared in UpdateServiceOperations and reached through this one name.
class UpdateService : public UpdateServiceOperations {
 public:
  UpdateService() = delete;

  // Endpoints: the build's base URL followed by the operation's path.
  static std::string updateCheckURL();     // GET  "api/ornav-ime/latest?platform=mac"
  static std::string dictURL();            // GET  "api/ornav-ime/dict" (+ "since" at run time)
  static std::string userDictURL();        // POST "api/ornav-ime/user-dict"
  static std::string feedbackSubmitURL();  // POST "api/ornav-ime/feedback"
  static std::string aboutURL();           // GET  "api/ornav-ime/about"
  static std::string feedbackURL();        // the service's web page: the base URL itself
  static std::string crashReportURL();     // POST "api/ornav-ime/crash"

  // The random identifier of this user account on this machine ("Ornavel.deviceID"), created and
  // stored on first use; a stored empty string is replaced.
  static std::string deviceID();

  // The bundle's "CFBundleShortVersionString" as written, or "1.0" when it has none.
  static std::string currentVersion();

  // Whether the welcome window was shown once ("Ornavel.welcomeShown", false when absent).
  static bool hasShownWelcome();
  static void setHasShownWelcome(bool shown);

  // The numeric components of a version string ("2.4.1" -> 2, 4, 1; "1.23" -> 1, 2, 3; "" -> 0).
  static std::vector<std::int64_t> versionComponents(std::string_view version);

  // True when `version` is a higher version than `than`; missing components count as 0.
  static bool isNewer(std::string_view version, std::string_view than);

  // A link as the service wrote it made absolute ("//h/x" -> "https://h/x", "h/x/" ->
  // "https://h/x"); empty when nothing usable remains (blank text, a path without a host).
  static std::string normalizedDownloadURLString(std::string_view link);
};

}  // namespace ornav
