#include "diagnostics/log_format.h"

#include <unicode/utf8.h>

#include <cstdio>
#include <ctime>
#include <deque>
#include <limits>

namespace ornav::log_format {

std::string timestamp(std::chrono::system_clock::time_point time) {
  using namespace std::chrono;
  // Floor, not truncate, so times before 1970 still get a millisecond part in 0..999.
  const auto ms = floor<milliseconds>(time.time_since_epoch());
  const auto secs = floor<seconds>(ms);
  const std::time_t t = static_cast<std::time_t>(secs.count());
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return "0000-00-00 00:00:00.000";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>((ms - secs).count()));
  return buffer;
}

std::string line(std::string_view message, std::chrono::system_clock::time_point time) {
  const std::string stamp = timestamp(time);
  std::string text;
  text.reserve(stamp.size() + message.size() + 4);
  text += '[';
  text += stamp;
  text += "] ";
  text += message;
  text += '\n';
  return text;
}

std::optional<std::vector<std::string>> nonEmptyLines(std::string_view text) {
  return lastNonEmptyLines(text, std::numeric_limits<std::size_t>::max());
}

std::optional<std::vector<std::string>> lastNonEmptyLines(std::string_view text,
                                                          std::size_t limit) {
  // The most recent `limit` pieces, as views into `text`, oldest first.
  std::deque<std::string_view> kept;
  const auto keep = [&](int32_t begin, int32_t end) {
    if (end <= begin || limit == 0) return;
    if (kept.size() == limit) kept.pop_front();
    kept.push_back(text.substr(begin, end - begin));
  };
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto size = static_cast<int32_t>(text.size());
  int32_t start = 0;
  int32_t i = 0;
  while (i < size) {
    const int32_t at = i;
    UChar32 c = 0;
    U8_NEXT(bytes, i, size, c);
    if (c < 0) return std::nullopt;
    const bool isBreak = (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
    if (!isBreak) continue;
    keep(start, at);
    start = i;
  }
  keep(start, size);
  return std::vector<std::string>(kept.begin(), kept.end());
}

}  // namespace ornav::log_format
