#include "emulated_input_source_registry.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace srcenrol {

namespace {

constexpr std::int32_t kParamErr = -50;
constexpr std::int32_t kIoErr = -36;
// Far beyond any bundle description; larger files are refused rather than read.
constexpr std::uintmax_t kMaxInfoPlistBytes = 1 << 20;

struct PlistFree {
  void operator()(plist_t node) const { plist_free(node); }
};
using PlistOwner = std::unique_ptr<void, PlistFree>;

std::optional<std::string> stringValue(plist_t node) {
  if (node == nullptr || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
  uint64_t length = 0;
  const char* text = plist_get_string_ptr(node, &length);
  if (text == nullptr) return std::nullopt;
  return std::string(text, static_cast<std::size_t>(length));
}

bool fitsOnALine(const std::string& value) {
  if (value.empty()) return false;
  for (unsigned char c : value) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::optional<std::string> readSmallFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxInfoPlistBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<BundleSources> bundleSourcesFromInfoPlist(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kMaxInfoPlistBytes) return std::nullopt;
  plist_t parsed = nullptr;
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &parsed);
  PlistOwner root(parsed);
  if (!root || plist_get_node_type(root.get()) != PLIST_DICT) return std::nullopt;

  BundleSources result;
  const auto identifier = stringValue(plist_dict_get_item(root.get(), "CFBundleIdentifier"));
  if (!identifier || !fitsOnALine(*identifier)) return std::nullopt;
  result.bundleIdentifier = *identifier;
  if (!stringValue(plist_dict_get_item(root.get(), "InputMethodConnectionName"))) return result;

  const auto ownId = stringValue(plist_dict_get_item(root.get(), "TISInputSourceID"));
  result.sourceIdentifiers.push_back(ownId.value_or(result.bundleIdentifier));
  plist_t modeDict = plist_dict_get_item(root.get(), "ComponentInputModeDict");
  plist_t modes = modeDict != nullptr && plist_get_node_type(modeDict) == PLIST_DICT
                      ? plist_dict_get_item(modeDict, "tsInputModeListKey")
                      : nullptr;
  if (modes != nullptr && plist_get_node_type(modes) == PLIST_DICT) {
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(modes, &iterator);
    for (;;) {
      char* key = nullptr;
      plist_t mode = nullptr;
      plist_dict_next_item(modes, iterator, &key, &mode);
      if (mode == nullptr) {
        std::free(key);
        break;
      }
      std::string modeKey = key != nullptr ? key : "";
      std::free(key);
      const bool isDict = plist_get_node_type(mode) == PLIST_DICT;
      const auto declared =
          isDict ? stringValue(plist_dict_get_item(mode, "TISInputSourceID")) : std::nullopt;
      result.sourceIdentifiers.push_back(declared.value_or(modeKey));
    }
    std::free(iterator);
  }
  for (const auto& source : result.sourceIdentifiers) {
    if (!fitsOnALine(source)) return std::nullopt;
  }
  return result;
}

ListedSources listedSources(std::string_view registryText, std::string_view bundleIdentifier) {
  ListedSources sources;
  while (!registryText.empty()) {
    const auto end = registryText.find('\n');
    const std::string_view line = registryText.substr(0, end);
    registryText.remove_prefix(end == std::string_view::npos ? registryText.size() : end + 1);
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos || line.substr(0, tab) != bundleIdentifier) continue;
    const std::string_view source = line.substr(tab + 1);
    if (source.empty()) {
      sources.push_back(std::nullopt);
    } else {
      sources.push_back(std::string(source));
    }
  }
  return sources;
}

namespace {

// Appends `text` with one write, starting it on a fresh line when the file does not end with one,
// so a list cut short by an earlier crash never glues two entries together.
bool appendLines(const std::filesystem::path& path, std::string text) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const off_t end = ::lseek(fd, 0, SEEK_END);
  if (end > 0) {
    char last = '\n';
    if (::pread(fd, &last, 1, end - 1) == 1 && last != '\n') text.insert(text.begin(), '\n');
  }
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0;
}

}  // namespace

EmulatedInputSourceRegistry::EmulatedInputSourceRegistry(std::filesystem::path prefix)
    : prefix_(std::move(prefix)) {}

std::filesystem::path EmulatedInputSourceRegistry::defaultPrefix() {
  if (const char* prefix = std::getenv("ORNAV_PREFIX"); prefix != nullptr && *prefix != '\0') {
    return prefix;
  }
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
    return std::filesystem::path(data) / "ornav-prefix";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "ornav-prefix";
}

std::filesystem::path EmulatedInputSourceRegistry::registryPath() const {
  return prefix_ / "Library" / "InputSources.registry";
}

std::int32_t EmulatedInputSourceRegistry::registerBundle(const std::string& bundlePath) {
  const std::filesystem::path bundle = prefix_ / std::filesystem::path(bundlePath).relative_path();
  std::error_code error;
  if (!std::filesystem::is_directory(bundle, error)) return kParamErr;
  const auto bytes = readSmallFile(bundle / "Contents" / "Info.plist");
  const auto sources = bytes ? bundleSourcesFromInfoPlist(*bytes) : std::nullopt;
  if (!sources) return kParamErr;
  if (sources->sourceIdentifiers.empty()) return 0;
  std::string lines;
  for (const auto& source : sources->sourceIdentifiers) {
    lines += sources->bundleIdentifier + '\t' + source + '\n';
  }
  return appendLines(registryPath(), std::move(lines)) ? 0 : kIoErr;
}

std::optional<ListedSources> EmulatedInputSourceRegistry::sourcesOfBundle(
    const std::string& bundleIdentifier) {
  const auto path = registryPath();
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return ListedSources{};
  if (status.type() != std::filesystem::file_type::regular) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return listedSources(text, bundleIdentifier);
}

}  // namespace srcenrol
