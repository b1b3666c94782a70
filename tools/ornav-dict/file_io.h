// Whole-file reads and crash-safe writes for the dictionary tool.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ornav::dict {

// The whole file, or nothing with *error describing why (e.g. "No such file or directory").
std::optional<std::string> readTextFile(const std::filesystem::path& path, std::string* error);

// Writes to a temporary file beside `path`, then renames it over `path`: a crash or a full disk
// never leaves a truncated map where the build expects a whole one.
bool writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string* error);

}  // namespace ornav::dict
