// Standard base64 (RFC 4648, with padding) for byte values kept in text files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::linux_platform {

std::string base64Encode(const std::vector<std::uint8_t>& bytes);
// Absent for text that is not canonical padded base64 (whitespace is not accepted).
std::optional<std::vector<std::uint8_t>> base64Decode(std::string_view text);

}  // namespace ornav::linux_platform
