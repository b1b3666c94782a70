#pragma once
// What one user-dictionary upload sends: the growth of every word's count since the snapshot of
// the last accepted upload, and the snapshot to keep once this upload is accepted.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav {

// Word to count. std::map keeps words in ascending order of their UTF-8 bytes, which is the order
// of their code points, so entries always go out in the same order.
using UserDictCounts = std::map<std::string, int64_t>;

struct UserDictUploadEntry {
  std::string word;
  int64_t count = 0;  // growth since the snapshot, at least 1
  bool operator==(const UserDictUploadEntry&) const = default;
};

struct UserDictUploadPayload {
  std::vector<UserDictUploadEntry> entries;
  UserDictCounts snapshot;
};

// Reads word TAB count lines. A line counts only with exactly two non-empty TAB-separated pieces,
// a strict decimal count of at least 1 and a trimmed word of at least two user-visible characters;
// a word on several lines keeps its largest count.
UserDictCounts countUserDictWords(std::string_view tsv);

// The stored snapshot: a UTF-8 JSON object of word to integer. Members that are not integers of at
// least 1 are dropped; anything unreadable is the empty snapshot.
UserDictCounts parseUploadedSnapshot(std::string_view storedJSON);

// The snapshot as the compact JSON object that is stored after an accepted upload.
std::string serializeUploadedSnapshot(const UserDictCounts& snapshot);

// Absent when nothing counted or nothing grew. A forced upload starts from an empty snapshot, so
// every current count is sent in full and the new snapshot holds only the current words.
std::optional<UserDictUploadPayload> buildUserDictUploadPayload(
    std::string_view tsv, bool forceFull, const UserDictCounts& storedSnapshot);

// The request body {"device": ..., "entries": [{"word": ..., "count": ...}, ...]}.
std::string userDictUploadBody(const std::string& device,
                               const std::vector<UserDictUploadEntry>& entries);

}  // namespace ornav
