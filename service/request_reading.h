// Reading the bodies the application sends: the learned words, a feedback, a crash report. A body
// is taken whole or refused whole: one member of the wrong type refuses the request, so nothing
// of a malformed request is ever stored. Words outside the dictionary's alphabet are the one
// exception: they are dropped, because a user's counts hold whatever was typed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ornav::service {

// Why a body was refused: the status to answer (400, 413) and a short reason for the answer.
struct BadRequest {
  int status = 400;
  std::string reason;
};

template <typename T>
using Read = std::variant<T, BadRequest>;

struct WordCount {
  std::string word;
  std::int64_t count = 0;
};

struct UploadRequest {
  std::string device;
  // One entry per kept word, each word once, its growth at most the per-device cap.
  std::vector<WordCount> entries;
};

struct FeedbackRequest {
  std::string message, contact, version, device, host, os, time;
};

struct CrashReport {
  std::string reportID, type, name, reason, stack, version, device, host, os, time;
};

// `maxEntries`: more entries are refused with 413. `cap`: a device's total for a word never
// exceeds it, so one upload's growth is cut to it too.
Read<UploadRequest> readUpload(std::string_view body, std::size_t maxEntries, std::int64_t cap);
Read<FeedbackRequest> readFeedback(std::string_view body);
Read<CrashReport> readCrashReport(std::string_view body);

// The application's device identifiers are UUIDs; anything of 1 to 64 letters, digits, '-', '_'
// and '.' is accepted.
bool isDeviceID(std::string_view text);

}  // namespace ornav::service
