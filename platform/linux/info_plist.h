// Reading the property list that describes an application bundle (Info.plist, XML or binary)
// with libplist. Only the top-level scalar values are kept (strings, integers, reals, booleans);
// nested arrays and dictionaries, dates and data are skipped. A document that libplist cannot read,
// or whose top level is not a dictionary, gives no result.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ports/bundle.h"

namespace ornav::linux_platform {

using InfoDictionary = std::map<std::string, InfoValue>;

std::optional<InfoDictionary> parseInfoPlist(std::string_view document);

}  // namespace ornav::linux_platform
