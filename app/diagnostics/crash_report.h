// The pieces of a crash report that need no file or network: names of signals, reading the
// signal marker, the report built from a marker, the time format, and the body that is uploaded.
//
// Only ten short string fields ever leave the machine, each cut to a fixed number of
// user-perceived characters; "context", "logTail", "bundleID", "process" and "pid" stay local.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace ornav::crash_report {

// "SIGILL", "SIGABRT", "SIGFPE", "SIGBUS", "SIGSEGV" for those signals' numbers on this system
// (the number a marker holds); "SIG" + the number otherwise.
std::string signalName(int signal);

// The signal number written in a marker: decimal text of a signed 32-bit integer, with white
// space and line breaks around it allowed. Absent for anything else (not UTF-8, empty, letters,
// out of range).
std::optional<int> parseSignalMarker(std::string_view text);

// ISO 8601 internet form in UTC with whole seconds, e.g. "2026-03-04T09:05:03Z".
std::string iso8601(std::chrono::system_clock::time_point time);

// Whole milliseconds since 1970.
long long millisecondsSince1970(std::chrono::system_clock::time_point time);

// What the report of a fatal signal says, apart from facts about the installation.
struct Installation {
  std::string version;
  std::string device;
  std::string host;
  std::string os;
};

// The ten-key report of a signal recorded at `markerTime`.
nlohmann::json signalReport(int signal, std::chrono::system_clock::time_point markerTime,
                            const Installation& installation);

// The upload body: exactly the ten string keys, each cut to its limit; a key that is missing or
// not a string is sent empty, except "reportID", which then is `fallbackReportID`. Compact JSON.
std::optional<std::string> sanitizedUploadData(const nlohmann::json& report,
                                               std::string_view fallbackReportID);

}  // namespace ornav::crash_report
