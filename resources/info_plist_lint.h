// Lint of the application's Info.plist: the property list must be well-formed and carry every key
// macOS needs to load the bundle as an input method, each of the right type, and its parts must
// agree (connection name, controller class, the input modes and their visible order).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ornav::resources {

struct InfoPlistExpectations {
  std::string bundleIdentifier;  // also the prefix of every input source identifier
  std::string version;           // CFBundleShortVersionString and CFBundleVersion
  std::string displayName;
  std::string controllerClass;
  std::string language;    // the intended language of the input method and of each mode
  std::string repertoire;  // the script every mode declares (ISO 15924, e.g. "Arab")
};

// The problems found, one readable line each; empty when the property list passes.
std::vector<std::string> lintInfoPlist(std::string_view bytes,
                                       const InfoPlistExpectations& expected);

// The file names the property list gives for icons (to be found among the bundle's resources).
std::vector<std::string> iconFilesOf(std::string_view bytes);

}  // namespace ornav::resources
