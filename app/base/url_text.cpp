#include "base/url_text.h"

namespace ornav::url_text {
namespace {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string join(std::string_view base, std::string_view path) {
  std::string url(base);
  while (!path.empty() && path.front() == '/')
    path.remove_prefix(1);
  if (!url.empty() && url.back() != '/') url += '/';
  url.append(path);
  return url;
}

bool isWellFormed(std::string_view text) {
  if (text.empty()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c <= 0x20 || c == 0x7F) return false;
    switch (c) {
      case '"':
      case '<':
      case '>':
      case '\\':
      case '^':
      case '`':
      case '{':
      case '|':
      case '}':
        return false;
      case '%':
        if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2])) {
          return false;
        }
        break;
      default:
        break;
    }
  }
  return true;
}

std::optional<std::string> scheme(std::string_view text) {
  // scheme = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ) ":"
  if (text.empty() || !isAsciiLetter(text.front())) return std::nullopt;
  std::string result;
  for (const char c : text) {
    if (c == ':') return result;
    const bool allowed =
        isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!allowed) return std::nullopt;
    result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return std::nullopt;
}

bool isUsableEndpoint(std::string_view text) {
  if (!isWellFormed(text)) return false;
  const auto name = scheme(text);
  if (!name || (*name != "http" && *name != "https")) return false;
  std::string_view rest = text.substr(name->size() + 1);
  if (rest.substr(0, 2) != "//") return false;
  rest.remove_prefix(2);
  const std::size_t hostEnd = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, hostEnd);
  if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  // A bare ":port" names no host.
  return !authority.empty() && authority.front() != ':';
}

}  // namespace ornav::url_text
