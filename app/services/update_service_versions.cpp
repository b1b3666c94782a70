// Version strings as the service and the bundle write them, and their order.
#include "base/text.h"
#include "services/update_service.h"

#include <algorithm>

namespace ornav {
namespace {

std::int64_t integerOrZero(std::string_view text) {
  return parseDecimalInteger(text).value_or(0);
}

// Pieces between dots; empty pieces (two dots in a row, a leading or trailing dot) are dropped.
std::vector<std::string_view> dotPieces(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t dot = std::min(text.find('.', start), text.size());
    if (dot > start) pieces.push_back(text.substr(start, dot - start));
    start = dot + 1;
  }
  return pieces;
}

}  // namespace

std::vector<std::int64_t> UpdateService::versionComponents(std::string_view version) {
  const std::string trimmed = trimWhitespaceAndNewlines(version);
  const std::vector<std::string_view> pieces = dotPieces(trimmed);
  if (pieces.empty()) return {0};

  // "1.23" is an old way of writing 1.2.3: a two-piece version whose minor part has several
  // numeric characters reads each of them as its own component.
  if (pieces.size() == 2) {
    const std::vector<std::string> characters = splitCharacters(pieces[1]);
    const bool allNumeric =
        std::all_of(characters.begin(), characters.end(),
                    [](const std::string& character) { return isNumericCharacter(character); });
    if (characters.size() >= 2 && allNumeric) {
      std::vector<std::int64_t> components{integerOrZero(pieces[0])};
      for (const std::string& character : characters) {
        components.push_back(integerOrZero(character));
      }
      return components;
    }
  }

  std::vector<std::int64_t> components;
  components.reserve(pieces.size());
  for (const std::string_view piece : pieces)
    components.push_back(integerOrZero(piece));
  return components;
}

bool UpdateService::isNewer(std::string_view version, std::string_view than) {
  const std::vector<std::int64_t> a = versionComponents(version);
  const std::vector<std::int64_t> b = versionComponents(than);
  const std::size_t length = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < length; ++i) {
    const std::int64_t left = i < a.size() ? a[i] : 0;
    const std::int64_t right = i < b.size() ? b[i] : 0;
    if (left != right) return left > right;
  }
  return false;
}

}  // namespace ornav
