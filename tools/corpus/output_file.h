// Writing the results of a run: beside the target, then renamed over it, so an interrupted run
// never leaves half a file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ornav::corpus {

// False (with *error saying why) when the file cannot be written. A target that exists but is
// not a regular file (a device such as /dev/null, a folder, a symbolic link) is refused: the
// rename would replace it.
bool write_text(const std::filesystem::path& path, std::string_view text, std::string* error);

}  // namespace ornav::corpus
