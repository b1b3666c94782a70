// What a published release must be, so that no application is ever offered a download it cannot
// check: a version of numbers and dots, an https link and a SHA-256 of 64 hexadecimal digits.
#pragma once

#include <optional>
#include <string>

#include "storage.h"

namespace ornav::service {

// The release with its checksum in lower case, or the reason it is refused in `why`.
std::optional<Release> checkedRelease(Release release, std::string& why);

}  // namespace ornav::service
