#include "request_reading.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "word_rules.h"

namespace ornav::service {
namespace {

using nlohmann::json;

// Each field's limit in characters; longer text is cut, as the application cuts it.
struct Field {
  const char* key;
  std::size_t limit;
};

std::optional<json> parseBody(std::string_view body, BadRequest& why) {
  if (!isValidUtf8(body)) {
    why = {400, "the body is not UTF-8"};
    return std::nullopt;
  }
  json value = json::parse(body, nullptr, /*allow_exceptions=*/false);
  if (!value.is_object()) {
    why = {400, "the body is not a JSON object"};
    return std::nullopt;
  }
  return value;
}

// A string member; absent members read as empty. False for another type or a NUL character,
// which neither database could keep alike.
bool readString(const json& object, const Field& field, std::string& out) {
  const auto found = object.find(field.key);
  if (found == object.end() || found->is_null()) {
    out.clear();
    return true;
  }
  if (!found->is_string()) return false;
  out = found->get<std::string>();
  if (out.find('\0') != std::string::npos) return false;
  if (graphemeCount(out) > field.limit) out = prefixCharacters(out, field.limit);
  return true;
}

// Reads every field into the matching string; the first that fails names the problem.
template <std::size_t N>
std::optional<BadRequest> readStrings(const json& object, const Field (&fields)[N],
                                      std::string* (&&targets)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (!readString(object, fields[i], *targets[i])) {
      return BadRequest{400, std::string("\"") + fields[i].key + "\" must be a string"};
    }
  }
  return std::nullopt;
}

// A positive count, huge ones included (they are cut to the cap anyway); absent otherwise.
std::optional<std::int64_t> positiveCount(const json& value, std::int64_t cap) {
  if (value.is_number_unsigned()) {
    const auto count = value.get<std::uint64_t>();
    if (count == 0) return std::nullopt;
    return static_cast<std::int64_t>(
        std::min<std::uint64_t>(count, static_cast<std::uint64_t>(cap)));
  }
  if (value.is_number_integer()) {
    const auto count = value.get<std::int64_t>();
    if (count < 1) return std::nullopt;
    return std::min(count, cap);
  }
  if (value.is_number_float()) {
    const double count = value.get<double>();
    if (!(count >= 1) || count != std::floor(count)) return std::nullopt;
    return count >= static_cast<double>(cap) ? cap : static_cast<std::int64_t>(count);
  }
  return std::nullopt;
}

}  // namespace

bool isDeviceID(std::string_view text) {
  if (text.empty() || text.size() > 64) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
  });
}

Read<UploadRequest> readUpload(std::string_view body, std::size_t maxEntries, std::int64_t cap) {
  BadRequest why;
  const std::optional<json> object = parseBody(body, why);
  if (!object) return why;
  UploadRequest upload;
  const auto device = object->find("device");
  if (device == object->end() || !device->is_string() || !isDeviceID(device->get<std::string>())) {
    return BadRequest{400, "\"device\" must be a device identifier"};
  }
  upload.device = device->get<std::string>();
  const auto entries = object->find("entries");
  if (entries == object->end() || !entries->is_array()) {
    return BadRequest{400, "\"entries\" must be an array"};
  }
  if (entries->size() > maxEntries) return BadRequest{413, "too many entries"};

  std::map<std::string, std::int64_t> kept;
  for (const json& entry : *entries) {
    if (!entry.is_object()) return BadRequest{400, "each entry must be an object"};
    const auto word = entry.find("word");
    const auto count = entry.find("count");
    if (word == entry.end() || !word->is_string()) {
      return BadRequest{400, "\"word\" must be a string"};
    }
    const std::optional<std::int64_t> growth =
        count == entry.end() ? std::nullopt : positiveCount(*count, cap);
    if (!growth) return BadRequest{400, "\"count\" must be a positive integer"};
    const std::string text = word->get<std::string>();
    if (!isDictionaryWord(text)) continue;
    std::int64_t& total = kept[text];
    total = std::min(total + *growth, cap);
  }
  upload.entries.reserve(kept.size());
  for (auto& [word, count] : kept)
    upload.entries.push_back({word, count});
  return upload;
}

Read<FeedbackRequest> readFeedback(std::string_view body) {
  BadRequest why;
  const std::optional<json> object = parseBody(body, why);
  if (!object) return why;
  FeedbackRequest feedback;
  static const Field fields[] = {{"message", 20000}, {"contact", 200}, {"version", 20},
                                 {"device", 64},     {"host", 120},    {"os", 40},
                                 {"time", 40}};
  if (auto bad = readStrings(*object, fields,
                             {&feedback.message, &feedback.contact, &feedback.version,
                              &feedback.device, &feedback.host, &feedback.os, &feedback.time})) {
    return *bad;
  }
  if (trimWhitespaceAndNewlines(feedback.message).empty()) {
    return BadRequest{400, "\"message\" is empty"};
  }
  if (!isDeviceID(feedback.device))
    return BadRequest{400, "\"device\" must be a device identifier"};
  return feedback;
}

Read<CrashReport> readCrashReport(std::string_view body) {
  BadRequest why;
  const std::optional<json> object = parseBody(body, why);
  if (!object) return why;
  CrashReport report;
  // The application's own limits.
  static const Field fields[] = {
      {"reportID", 80}, {"type", 20},   {"name", 200}, {"reason", 2000}, {"stack", 20000},
      {"version", 20},  {"device", 64}, {"host", 120}, {"os", 40},       {"time", 40}};
  if (auto bad =
          readStrings(*object, fields,
                      {&report.reportID, &report.type, &report.name, &report.reason, &report.stack,
                       &report.version, &report.device, &report.host, &report.os, &report.time})) {
    return *bad;
  }
  if (report.reportID.empty()) return BadRequest{400, "\"reportID\" is empty"};
  if (!isDeviceID(report.device)) return BadRequest{400, "\"device\" must be a device identifier"};
  return report;
}

}  // namespace ornav::service
