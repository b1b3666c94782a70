#include "platform/linux/file_settings.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <system_error>

#include "base/files.h"
#include "platform/linux/base64.h"
#include "platform/linux/system_services.h"

namespace ornav::linux_platform {

namespace {
using json = nlohmann::json;

// JSON has no NaN or infinities; they are stored as these strings.
json doubleToJson(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return value;
}

std::optional<double> doubleFromJson(const json& value) {
  if (value.is_number()) return value.get<double>();
  if (value == "nan") return std::nan("");
  if (value == "inf") return HUGE_VAL;
  if (value == "-inf") return -HUGE_VAL;
  return std::nullopt;
}

std::string timestampSuffix() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}
}  // namespace

json settingsValueToJson(const SettingsValue& value) {
  return std::visit(
      [](const auto& v) -> json {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) return {{"bool", v}};
        if constexpr (std::is_same_v<T, std::int64_t>) return {{"integer", v}};
        if constexpr (std::is_same_v<T, double>) return {{"double", doubleToJson(v)}};
        if constexpr (std::is_same_v<T, std::string>) return {{"string", v}};
        if constexpr (std::is_same_v<T, SettingsData>) return {{"data", base64Encode(v)}};
        if constexpr (std::is_same_v<T, std::vector<std::string>>) return {{"strings", v}};
        if constexpr (std::is_same_v<T, SettingsDictionary>) return {{"dictionary", v}};
      },
      value);
}

std::optional<SettingsValue> settingsValueFromJson(const json& entry) {
  if (!entry.is_object() || entry.size() != 1) return std::nullopt;
  const auto only = entry.begin();
  const std::string& type = only.key();
  const json& value = only.value();
  if (type == "bool" && value.is_boolean()) return value.get<bool>();
  if (type == "integer" && value.is_number_integer()) {
    if (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX) return std::nullopt;
    return value.get<std::int64_t>();
  }
  if (type == "double") {
    if (auto d = doubleFromJson(value)) return *d;
    return std::nullopt;
  }
  if (type == "string" && value.is_string()) return value.get<std::string>();
  if (type == "data" && value.is_string()) {
    if (auto bytes = base64Decode(value.get_ref<const std::string&>())) return *bytes;
    return std::nullopt;
  }
  if (type == "strings" && value.is_array()) {
    std::vector<std::string> strings;
    for (const auto& item : value) {
      if (!item.is_string()) return std::nullopt;
      strings.push_back(item.get<std::string>());
    }
    return strings;
  }
  if (type == "dictionary" && value.is_object()) {
    SettingsDictionary dictionary;
    for (const auto& [k, v] : value.items()) {
      if (!v.is_string()) return std::nullopt;
      dictionary[k] = v.get<std::string>();
    }
    return dictionary;
  }
  return std::nullopt;
}

FileSettings::FileSettings(std::filesystem::path path, SystemLog* log)
    : path_(std::move(path)), log_(log) {
  readFile();
}

std::filesystem::path FileSettings::defaultPath() {
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    config = xdg;
  } else {
    config = UserFolders().home() / ".config";
  }
  return config / "Ornavel" / "settings.json";
}

void FileSettings::log(const std::string& message) const {
  if (log_) log_->write("[Ornavel] " + message);
}

void FileSettings::readFile() {
  std::error_code error;
  if (!std::filesystem::exists(path_, error)) return;
  auto content = readWholeFile(path_);
  if (!content) {
    // Unreadable (permissions, a folder in its place): moved aside like a corrupt file, so the
    // next save cannot replace bytes the user may still want.
    return setAside("无法读取");
  }
  json root = json::parse(*content, nullptr, /*allow_exceptions=*/false);
  if (root.is_discarded()) return setAside("不是 JSON");
  if (!root.is_object()) return setAside("顶层不是对象");
  for (const auto& [key, entry] : root.items()) {
    if (auto value = settingsValueFromJson(entry)) {
      values_[key] = std::move(*value);
    } else {
      unknown_[key] = entry;
    }
  }
}

void FileSettings::setAside(const std::string& reason) {
  auto aside = path_;
  aside += ".corrupt-" + timestampSuffix();
  std::error_code error;
  for (int n = 2; std::filesystem::exists(aside, error); ++n) {
    aside = path_;
    aside += ".corrupt-" + timestampSuffix() + "-" + std::to_string(n);
  }
  std::filesystem::rename(path_, aside, error);
  if (error) {
    log("设置文件已损坏（" + reason + "），无法移开：" + error.message());
  } else {
    log("设置文件已损坏（" + reason + "），已移至 " + aside.string());
  }
}

void FileSettings::writeFile() {
  json root = json::object();
  for (const auto& [key, entry] : unknown_)
    root[key] = entry;
  for (const auto& [key, value] : values_)
    root[key] = settingsValueToJson(value);
  // Strings that are not valid UTF-8 are written with U+FFFD instead of failing the whole save.
  auto text = root.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
  if (auto failure = writeFileAtomically(path_, text)) log("设置文件写入失败：" + *failure);
}

std::optional<SettingsValue> FileSettings::load(const std::string& key) const {
  std::lock_guard lock(mutex_);
  auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

void FileSettings::store(const std::string& key, std::optional<SettingsValue> value) {
  std::lock_guard lock(mutex_);
  bool changed = unknown_.erase(key) > 0;
  if (value) {
    values_[key] = std::move(*value);
    changed = true;
  } else if (values_.erase(key) > 0) {
    changed = true;
  }
  if (changed) writeFile();  // removing an absent key leaves the file alone
}

}  // namespace ornav::linux_platform
