// Foundation refuses malformed UTF-8 (NSString answers nil), so text crossing into Foundation is
// made well-formed first: every maximal ill-formed subsequence becomes one U+FFFD, the way the
// Unicode standard recommends, and well-formed text passes through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace ornav::mac_platform {

std::string repairUtf8(std::string_view text);

}  // namespace ornav::mac_platform
