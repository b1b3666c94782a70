// Replacing a file's whole content atomically: the bytes go to a temporary file in the same
// folder, are flushed to disk, and the temporary file is renamed over the target, so a crash
// leaves either the old or the new content, never a truncated file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ports/whole_file.h"

namespace ornav::linux_platform {

// Writes `content` to `path` with permission bits `mode`, creating missing parent folders (0700).
// Answers an error description on failure; the old file is then untouched.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view content, unsigned mode = 0600);

// Files are read with ornav::readWholeFile (ports/whole_file.h).
using ornav::readWholeFile;

}  // namespace ornav::linux_platform
