// The application bundle (identity, version, resources) and the user's standard folders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace ornav {

// A scalar value of the bundle's information property list.
using InfoValue = std::variant<std::string, std::int64_t, double, bool>;

class Bundle {
 public:
  virtual ~Bundle() = default;

  virtual std::optional<InfoValue> infoValue(const std::string& key) const = 0;

  // An information value that is a string; absent when missing or of another type.
  std::optional<std::string> infoString(const std::string& key) const {
    auto value = infoValue(key);
    if (value && std::holds_alternative<std::string>(*value)) return std::get<std::string>(*value);
    return std::nullopt;
  }
  std::optional<std::string> identifier() const { return infoString("CFBundleIdentifier"); }
  std::optional<std::string> shortVersion() const {
    return infoString("CFBundleShortVersionString");
  }
  std::optional<std::string> buildVersion() const { return infoString("CFBundleVersion"); }

  virtual std::filesystem::path bundlePath() const = 0;
  // The folder of the bundle's resources (keymap.json, the font, dict/ ...).
  virtual std::filesystem::path resourcePath() const = 0;
  // The resource `name`.`extension` (no dot in `extension`; empty for none) if it exists.
  virtual std::optional<std::filesystem::path> pathForResource(
      const std::string& name, const std::string& extension) const = 0;
};

// The user's folders. On macOS: ~, ~/Library/Application Support, ~/Library/Caches and the
// process's temporary folder; on Linux the XDG folders. None of them is created here.
class Folders {
 public:
  virtual ~Folders() = default;
  virtual std::filesystem::path home() const = 0;
  virtual std::filesystem::path applicationSupport() const = 0;
  virtual std::filesystem::path caches() const = 0;
  virtual std::filesystem::path temporary() const = 0;
};

}  // namespace ornav
