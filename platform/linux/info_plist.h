// Reader for the XML property lists that describe an application bundle (Info.plist): a <plist>
// holding one <dict> whose values are <string>, <integer>, <real>, <true/>, <false/>, <date>,
// <data>, <array> or <dict>. Only the top-level scalar values are kept; nested arrays and
// dictionaries are checked for balance and skipped. Anything malformed gives no result rather
// than a partial one.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ports/bundle.h"

namespace ornav::linux_platform {

using InfoDictionary = std::map<std::string, InfoValue>;

std::optional<InfoDictionary> parseInfoPlist(std::string_view xml);

}  // namespace ornav::linux_platform
