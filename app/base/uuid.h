// Random (version 4) UUIDs in their canonical text form.
#pragma once

#include <string>

namespace ornav {

// 36 characters: upper-case hexadecimal digits in groups of 8-4-4-4-12 joined by hyphens.
std::string makeRandomUUID();

}  // namespace ornav
