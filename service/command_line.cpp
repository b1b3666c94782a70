#include "command_line.h"

#include <algorithm>

#include "base/text.h"

namespace ornav::service {

std::optional<std::string> CommandLine::value(const std::string& flag) {
  const auto found = std::find(words_.begin(), words_.end(), flag);
  if (found == words_.end()) return std::nullopt;
  if (found + 1 == words_.end()) {
    if (problem_.empty()) problem_ = flag + " needs a value";
    words_.erase(found);
    return std::nullopt;
  }
  std::string result = *(found + 1);
  words_.erase(found, found + 2);
  return result;
}

std::optional<std::int64_t> CommandLine::integer(const std::string& flag, std::int64_t least,
                                                 std::int64_t most) {
  const std::optional<std::string> text = value(flag);
  if (!text) return std::nullopt;
  const std::optional<std::int64_t> number = parseDecimalInteger(*text);
  if (!number || *number < least || *number > most) {
    if (problem_.empty()) {
      problem_ = flag + " must be a whole number from " + std::to_string(least) + " to " +
                 std::to_string(most);
    }
    return std::nullopt;
  }
  return number;
}

bool CommandLine::present(const std::string& flag) {
  const auto found = std::find(words_.begin(), words_.end(), flag);
  if (found == words_.end()) return false;
  words_.erase(found);
  return true;
}

std::optional<std::string> CommandLine::word() {
  const auto found = std::find_if(words_.begin(), words_.end(),
                                  [](const std::string& w) { return w.rfind("--", 0) != 0; });
  if (found == words_.end()) return std::nullopt;
  std::string result = *found;
  words_.erase(found);
  return result;
}

std::string CommandLine::problem() const {
  if (!problem_.empty()) return problem_;
  if (!words_.empty()) return "unexpected \"" + words_.front() + "\"";
  return {};
}

}  // namespace ornav::service
