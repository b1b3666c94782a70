// Appending one finished line to a log file with raw file calls.
#pragma once

#include <string>
#include <string_view>

namespace ornav::log_file {

enum class Location {
  // A fixed name in the shared temporary folder: anyone may have created it first. The file is
  // opened without following a symbolic link, and used only when it is a regular file owned by
  // this user with no other hard link, so a planted link cannot redirect our writes.
  sharedTemporary,
  // A file inside this user's own folders.
  privateFolder,
};

// Appends `bytes` with one write (so concurrent writers never interleave inside a line),
// creating the file with mode 0600 when it does not exist. False when nothing was written.
bool append(const std::string& path, std::string_view bytes, Location location);

}  // namespace ornav::log_file
