#include "core/key_map.h"

#include "ports/bundle.h"
#include "ports/platform.h"
#include "ports/system_log.h"
#include "ports/whole_file.h"

namespace ornav {
namespace {

void systemLog(const std::string& message) {
  if (SystemLog* log = platform().systemLog) log->write(message);
}

}  // namespace

std::optional<KeyMapFile> parseKeyMap(std::string_view text) {
  nlohmann::json root = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (!root.is_object()) return std::nullopt;
  const auto found = root.find("map");
  if (found == root.end() || !found->is_object()) return std::nullopt;
  KeyMapFile file;
  for (const auto& [typed, output] : found->items()) {
    if (!output.is_string()) return std::nullopt;
    file.map.emplace(typed, output.get<std::string>());
  }
  root.erase(found);
  file.otherMembers = std::move(root);
  return file;
}

KeyMap& KeyMap::shared() {
  static KeyMap instance;
  return instance;
}

void KeyMap::load() {
  const Bundle* bundle = platform().bundle;
  const auto path = bundle ? bundle->pathForResource("keymap", "json") : std::nullopt;
  if (!path) {
    systemLog("[Ornavel] keymap.json 未找到");
    return;
  }
  const auto text = readWholeFile(*path);
  if (!text) {
    systemLog("[Ornavel] keymap.json 未找到");
    return;
  }
  auto file = parseKeyMap(*text);
  if (!file) {
    systemLog("[Ornavel] keymap.json 解析失败");
    return;
  }
  arabic_ = std::move(file->map);
  otherMembers_ = std::move(file->otherMembers);
  systemLog("[Ornavel] 已加载映射 " + std::to_string(arabic_.size()) + " 条");
}

std::optional<std::string> KeyMap::map(std::string_view typed) const {
  const auto it = arabic_.find(typed);
  if (it == arabic_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::map<std::string, std::string>> KeyMap::table(std::string_view name) const {
  const auto it = otherMembers_.find(name);
  if (it == otherMembers_.end() || !it->is_object()) return std::nullopt;
  std::map<std::string, std::string> result;
  for (const auto& [key, value] : it->items()) {
    if (!value.is_string()) return std::nullopt;
    result.emplace(key, value.get<std::string>());
  }
  return result;
}

void KeyMap::replaceForTesting(KeyMapFile file) {
  arabic_ = std::move(file.map);
  otherMembers_ = std::move(file.otherMembers);
}

}  // namespace ornav
