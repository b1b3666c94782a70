#include "diagnostics/crash_report.h"

#include <csignal>
#include <ctime>
#include <limits>

#include "base/json_reading.h"
#include "base/text.h"

namespace ornav::crash_report {
namespace {

struct UploadField {
  const char* key;
  std::size_t limit;  // user-perceived characters
};

constexpr UploadField kUploadFields[] = {
    {"reportID", 80}, {"type", 20},   {"name", 200}, {"reason", 2000}, {"stack", 20000},
    {"version", 20},  {"device", 64}, {"host", 120}, {"os", 40},       {"time", 40},
};

}  // namespace

std::string signalName(int signal) {
  // The marker holds the number this system gave the signal, so it is named by this system's
  // numbering (SIGBUS is 7 on Linux and 10 on macOS).
  switch (signal) {
    case SIGILL:
      return "SIGILL";
    case SIGABRT:
      return "SIGABRT";
    case SIGFPE:
      return "SIGFPE";
    case SIGBUS:
      return "SIGBUS";
    case SIGSEGV:
      return "SIGSEGV";
    default:
      return "SIG" + std::to_string(signal);
  }
}

std::optional<int> parseSignalMarker(std::string_view text) {
  if (!isValidUtf8(text)) return std::nullopt;
  const auto value = parseDecimalInteger(trimWhitespaceAndNewlines(text));
  if (!value || *value < std::numeric_limits<int>::min() ||
      *value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

std::string iso8601(std::chrono::system_clock::time_point time) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(time.time_since_epoch()).count();
  const auto t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  if (gmtime_r(&t, &utc) == nullptr) return "1970-01-01T00:00:00Z";
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return buffer;
}

long long millisecondsSince1970(std::chrono::system_clock::time_point time) {
  return std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

nlohmann::json signalReport(int signal, std::chrono::system_clock::time_point markerTime,
                            const Installation& installation) {
  return {
      {"reportID", "signal-" + std::to_string(signal) + "-" +
                       std::to_string(millisecondsSince1970(markerTime))},
      {"type", "signal"},
      {"name", signalName(signal)},
      {"reason", "fatal signal " + std::to_string(signal)},
      {"stack", ""},
      {"version", installation.version},
      {"device", installation.device},
      {"host", installation.host},
      {"os", installation.os},
      {"time", iso8601(markerTime)},
  };
}

std::optional<std::string> sanitizedUploadData(const nlohmann::json& report,
                                               std::string_view fallbackReportID) {
  nlohmann::json body = nlohmann::json::object();
  for (const UploadField& field : kUploadFields) {
    std::optional<std::string> value = json_reading::string(report, field.key);
    if (!value && std::string_view(field.key) == "reportID") value = std::string(fallbackReportID);
    body[field.key] = prefixCharacters(value.value_or(""), field.limit);
  }
  return json_reading::serialize(body);
}

}  // namespace ornav::crash_report
