#include "services/user_dict_payload.h"

#include <nlohmann/json.hpp>

#include "base/text.h"

namespace ornav {
namespace {

std::vector<std::string_view> nonEmptyPieces(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

}  // namespace

UserDictCounts countUserDictWords(std::string_view tsv) {
  UserDictCounts counts;
  for (std::string_view line : nonEmptyPieces(tsv, '\n')) {
    std::vector<std::string_view> pieces = nonEmptyPieces(line, '\t');
    if (pieces.size() != 2) continue;
    std::optional<int64_t> count = parseDecimalInteger(pieces[1]);
    if (!count || *count < 1) continue;
    std::string word = trimWhitespaceAndNewlines(pieces[0]);
    // Words must survive as JSON strings; ill-formed UTF-8 cannot be sent faithfully.
    if (!isValidUtf8(word)) continue;
    if (splitCharacters(word).size() < 2) continue;
    auto [it, inserted] = counts.emplace(std::move(word), *count);
    if (!inserted && it->second < *count) it->second = *count;
  }
  return counts;
}

UserDictCounts parseUploadedSnapshot(std::string_view storedJSON) {
  UserDictCounts snapshot;
  nlohmann::json root = nlohmann::json::parse(storedJSON, nullptr, false);
  if (root.is_discarded() || !root.is_object()) return snapshot;
  for (const auto& [word, value] : root.items()) {
    int64_t count = 0;
    if (value.is_number_unsigned()) {
      uint64_t u = value.get<uint64_t>();
      if (u > static_cast<uint64_t>(INT64_MAX)) continue;
      count = static_cast<int64_t>(u);
    } else if (value.is_number_integer()) {
      count = value.get<int64_t>();
    } else {
      continue;
    }
    if (count >= 1) snapshot[word] = count;
  }
  return snapshot;
}

std::string serializeUploadedSnapshot(const UserDictCounts& snapshot) {
  nlohmann::json root = nlohmann::json::object();
  for (const auto& [word, count] : snapshot)
    root[word] = count;
  return root.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<UserDictUploadPayload> buildUserDictUploadPayload(
    std::string_view tsv, bool forceFull, const UserDictCounts& storedSnapshot) {
  UserDictCounts counts = countUserDictWords(tsv);
  if (counts.empty()) return std::nullopt;

  UserDictUploadPayload payload;
  payload.snapshot = forceFull ? UserDictCounts{} : storedSnapshot;
  for (const auto& [word, current] : counts) {
    auto previousIt = payload.snapshot.find(word);
    int64_t previous = previousIt == payload.snapshot.end() ? 0 : previousIt->second;
    // The snapshot follows the export also downwards; only growth is sent.
    payload.snapshot[word] = current;
    if (current > previous) payload.entries.push_back({word, current - previous});
  }
  if (payload.entries.empty()) return std::nullopt;
  return payload;
}

std::string userDictUploadBody(const std::string& device,
                               const std::vector<UserDictUploadEntry>& entries) {
  nlohmann::json list = nlohmann::json::array();
  for (const UserDictUploadEntry& entry : entries) {
    list.push_back({{"word", entry.word}, {"count", entry.count}});
  }
  nlohmann::json body = {{"device", device}, {"entries", std::move(list)}};
  return body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace ornav
