// The text side of the log: how one line is stamped and how the log is split back into lines.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::log_format {

// "yyyy-MM-dd HH:mm:ss.SSS" in the local time zone, e.g. "2026-03-04 09:05:03.007".
std::string timestamp(std::chrono::system_clock::time_point time);

// "[" timestamp "] " message LF. The message is kept as given, line breaks included.
std::string line(std::string_view message, std::chrono::system_clock::time_point time);

// The non-empty pieces of `text` between line breaks (LF, VT, FF, CR, U+0085, U+2028, U+2029; a
// CR LF pair is one break), in order. Absent when `text` is not valid UTF-8.
std::optional<std::vector<std::string>> nonEmptyLines(std::string_view text);

// The same pieces, but only the last `limit` of them (all when there are fewer); copies nothing
// else, so a long log costs one pass.
std::optional<std::vector<std::string>> lastNonEmptyLines(std::string_view text, std::size_t limit);

}  // namespace ornav::log_format
