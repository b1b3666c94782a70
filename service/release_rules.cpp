#include "release_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/text.h"
#include "base/url_text.h"

namespace ornav::service {
namespace {

constexpr std::size_t kLongestVersion = 20;
constexpr std::size_t kLongestNotes = 10000;

bool isVersion(const std::string& version) {
  if (version.empty() || version.size() > kLongestVersion) return false;
  if (version.front() == '.' || version.back() == '.') return false;
  if (version.find("..") != std::string::npos) return false;
  return std::all_of(version.begin(), version.end(), [](char c) {
    return c == '.' || std::isdigit(static_cast<unsigned char>(c));
  });
}

bool isSha256(const std::string& text) {
  return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
           return std::isxdigit(static_cast<unsigned char>(c));
         });
}

}  // namespace

std::optional<Release> checkedRelease(Release release, std::string& why) {
  if (!isVersion(release.version)) {
    why = "the version must be numbers separated by dots, such as 1.2.3";
    return std::nullopt;
  }
  if (!url_text::isUsableEndpoint(release.url) || url_text::scheme(release.url) != "https") {
    why = "the download link must be an https:// address";
    return std::nullopt;
  }
  if (!isSha256(release.sha256)) {
    why = "the SHA-256 must be 64 hexadecimal digits";
    return std::nullopt;
  }
  std::transform(release.sha256.begin(), release.sha256.end(), release.sha256.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  if (!isValidUtf8(release.notes) || graphemeCount(release.notes) > kLongestNotes) {
    why = "the notes must be UTF-8 text of at most 10000 characters";
    return std::nullopt;
  }
  if (release.sizeMB && !(std::isfinite(*release.sizeMB) && *release.sizeMB > 0)) {
    why = "the size must be a positive number of megabytes";
    return std::nullopt;
  }
  return release;
}

}  // namespace ornav::service
