// Reading and saving the user's word-frequency files.
//
// Files are replaced atomically (temporary file in the same directory, rename), so a crash or a
// full disk leaves either the old or the new file, never a truncated one. A durable write also
// syncs the new file and the rename to disk before it returns; a quick one leaves that to the
// caller (see file_syncer.h), for saves on the keystroke path. Several engines
// (one per client application) share one user directory, so a save merges this engine's new
// increments into the counts currently on disk under an advisory lock instead of overwriting the
// other engines' picks.
#pragma once

#include <stdio.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "freq_tsv.h"

namespace ornav {

// `dir` joined with `name` the ordinary way (one separator between them).
std::string join_path(std::string_view dir, std::string_view name);

// Reads one TSV file; a missing, unreadable or non-UTF-8 file gives an empty table.
FreqTable load_user_freq(const std::string& path);

enum class durability { synced, left_to_caller };

// The calls whose order makes a save durable: the new file synced, renamed into place, then its
// folder synced. Tests pass their own to see that order, which nothing else can observe.
struct save_calls {
  int (*fsync)(int fd) = ::fsync;
  int (*rename)(const char* from, const char* to) = ::rename;
};

// Replaces the file at `path` with `text` atomically. The new file keeps the old file's
// permission bits (0600 for a new file). On failure the old file is untouched, no temporary file
// remains, and the result is false.
bool write_file_atomically(const std::string& path, std::string_view text,
                           durability how = durability::synced, const save_calls& calls = {});

// Adds `increments` (saturating) to the counts in the file at `path` and writes the result back
// atomically, all under an exclusive lock on a lock file beside it (".NAME.lock"). A file that
// is not UTF-8 (and so reads as an empty table) is first kept as "NAME.unreadable" beside it.
// False when the file exists but cannot be read, the lock is not obtained, or the write fails;
// the file is then unchanged.
bool merge_into_file(const std::string& path, const FreqTable& increments,
                     durability how = durability::synced);

}  // namespace ornav
