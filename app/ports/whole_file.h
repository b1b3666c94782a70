// Reading a small file whole: shared by the portable code (the key map) and the platform
// implementations (settings, bundle information), which all read their files the same way.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ornav {

// The whole content of a regular file; absent when it cannot be read (missing included).
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

}  // namespace ornav
