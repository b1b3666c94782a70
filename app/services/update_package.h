#pragma once
// The pure steps of installing a downloaded update package: where it is stored, how its checksum
// is read and compared, and the command that hands it to the system installer.

#include <string>
#include <string_view>
#include <vector>

#include "services/update_types.h"

namespace ornav {

// File name for the package inside the download folder: the link's last path component with every
// run of characters outside [A-Za-z0-9._-] turned into one "-". A link without a usable last
// component gives "Ornavel-<version>.pkg". Names made only of dots are never used, because the
// folder's own entries "." and ".." would make the later remove-and-move act on a folder.
std::string downloadedPackageName(const UpdateInfo& info, std::string_view sourceURL);

// The last component of a link's path, percent-decoded; empty when the path has none.
std::string lastPathComponent(std::string_view url);

// True when the link's scheme, in any case, is plain "http".
bool isPlainHttpURL(std::string_view url);

// The digest that "shasum -a 256 <file>" printed: the first space-separated piece of its output.
std::string firstShasumField(std::string_view output);

// Expected and computed digests compared ignoring ASCII case; the expected text is used as given.
bool checksumMatches(std::string_view expected, std::string_view computed);

// The path as one single-quoted shell word (a quote inside becomes '\'').
std::string shellQuoted(std::string_view path);

// "/usr/sbin/installer -pkg '<path>' -target /".
std::string installerCommand(std::string_view packagePath);

// The command as the body of an AppleScript string literal (backslashes first, then quotes).
std::string appleScriptEscaped(std::string_view text);

// The script that runs the installer command with administrator rights.
std::string installerScript(std::string_view packagePath);

// Program and arguments of the installer step.
inline constexpr std::string_view kInstallerLauncher = "/usr/bin/osascript";
std::vector<std::string> installerArguments(std::string_view packagePath);

// Program and arguments of the checksum step.
inline constexpr std::string_view kShasumPath = "/usr/bin/shasum";
std::vector<std::string> shasumArguments(std::string_view packagePath);

}  // namespace ornav
