// Reading a file whole and replacing one atomically: the one way every part of the application
// (and its tools) does both. The engine keeps its own writer, since it may link nothing but the C
// runtime.
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace ornav {

// The whole content of a regular file; absent when it is missing, not a regular file, unreadable
// or larger than `limit` bytes. `error`, when given, receives why ("No such file or directory").
std::optional<std::string> readWholeFile(
    const std::filesystem::path& path, std::string* error = nullptr,
    std::uintmax_t limit = std::numeric_limits<std::uintmax_t>::max());

// Writes every byte to an open descriptor, going on after interruptions and short writes. False
// when the descriptor refuses more.
bool writeAll(int fd, std::string_view bytes);

struct AtomicWrite {
  unsigned mode = 0600;        // permission bits of the new file
  bool createFolders = true;   // make missing parent folders (otherwise their absence fails)
  unsigned folderMode = 0700;  // of parent folders that have to be made
  // Flushed: the content and the rename reach the disk before the call returns, so the new
  // content survives a power loss. Unflushed: a crash of the process still leaves the old or the
  // new content whole, which is all a frequently rewritten note needs.
  bool flushed = true;
};

// Writes `content` to a temporary file beside `path` (its name starts with "." and does not end
// like the target's), then renames it over `path`: a crash or a full disk leaves either the old or
// the new content, never a truncated file. Missing parent folders are created unless told not to.
// Answers an error description on failure; the old file is then untouched.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view content, AtomicWrite options = {});

// The executable regular file `name` in the first folder of a colon-separated search list (as
// PATH) that holds one; absent for none, or for a name with a slash in it. Empty entries and
// relative folders are skipped: they would depend on the current directory.
std::optional<std::string> findProgram(std::string_view name, std::string_view searchPath);

}  // namespace ornav
