// How map keys are shown on a terminal and typed on a command line.
//
// Shown: the pair separator 0x1F becomes a TAB, so a dump of the pair map reads like its count
// file (first<TAB>second<TAB>count); control bytes, DEL, a backslash, bytes that are not valid
// UTF-8 and the character ␟ itself appear as \xHH, so every key prints on one line and can be
// typed back exactly.
// Typed: "\xHH" gives that byte, and a TAB or U+241F (the symbol for the unit separator, "␟")
// gives the pair separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ornav::dict {

std::string showKey(std::string_view key);

// Nothing when a backslash escape is malformed.
std::optional<std::string> parseKeyArgument(std::string_view argument);

}  // namespace ornav::dict
