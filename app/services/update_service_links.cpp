// Download links as the service writes them: host-relative ("//host/x"), absolute, or a bare host
// and path. Everything usable comes out absolute; a path without a host comes out empty.
#include "base/text.h"
#include "base/url_text.h"
#include "services/update_service.h"

namespace ornav {

std::string UpdateService::normalizedDownloadURLString(std::string_view link) {
  const std::string text = trimWhitespaceAndNewlines(link);
  if (text.empty()) return {};
  if (text.rfind("//", 0) == 0) return "https:" + text;
  if (url_text::isWellFormed(text)) {
    const auto scheme = url_text::scheme(text);
    if (scheme && (*scheme == "http" || *scheme == "https")) return text;
  }
  if (text.front() == '/') return {};
  const std::size_t first = text.find_first_not_of('/');
  const std::size_t last = text.find_last_not_of('/');
  return "https://" + text.substr(first, last - first + 1);
}

}  // namespace ornav
