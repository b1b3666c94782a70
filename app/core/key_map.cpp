#include "core/key_map.h"

#include "base/files.h"
#include "ports/bundle.h"
#include "ports/system_log.h"

namespace ornav {
namespace {

void report(SystemLog* systemLog, const std::string& message) {
  if (systemLog != nullptr) systemLog->write(message);
}

// An optional member that is an object of strings; empty when missing or of another shape.
std::map<std::string, std::string> optionalTable(const nlohmann::json& members,
                                                 std::string_view name) {
  const auto it = members.find(name);
  if (it == members.end() || !it->is_object()) return {};
  std::map<std::string, std::string> table;
  for (const auto& [key, value] : it->items()) {
    if (!value.is_string()) return {};
    table.emplace(key, value.get<std::string>());
  }
  return table;
}

}  // namespace

KeyMapExtras KeyMapFile::extras() const {
  return KeyMapExtras{optionalTable(otherMembers, "initial"),
                      optionalTable(otherMembers, "punctuation"),
                      optionalTable(otherMembers, "digraphs")};
}

std::optional<KeyMapFile> parseKeyMap(std::string_view text, std::string* why) {
  const auto fail = [why](const char* reason) -> std::optional<KeyMapFile> {
    if (why != nullptr) *why = reason;
    return std::nullopt;
  };
  nlohmann::json root = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (root.is_discarded()) return fail("not valid JSON");
  if (!root.is_object()) return fail("the top level is not an object");
  const auto found = root.find("map");
  if (found == root.end()) return fail("no member \"map\"");
  if (!found->is_object()) return fail("\"map\" is not an object");
  KeyMapFile file;
  for (const auto& [typed, output] : found->items()) {
    if (!output.is_string()) return fail("a value in \"map\" is not a string");
    file.map.emplace(typed, output.get<std::string>());
  }
  root.erase(found);
  file.otherMembers = std::move(root);
  return file;
}

KeyMap::KeyMap(KeyMapFile file, KeyLayout layout)
    : file_(std::move(file)), extras_(file_.extras()), layout_(layout) {}

KeyMap::KeyMap(KeyTable map, KeyMapExtras extras) : extras_(std::move(extras)) {
  file_.map = std::move(map);
}

bool KeyMap::load(const Bundle* bundle, SystemLog* systemLog, KeyLayout layout) {
  const std::string resource = keyLayoutResource(layout);
  const auto path = bundle ? bundle->pathForResource(resource, "json") : std::nullopt;
  const auto text = path ? readWholeFile(*path) : std::nullopt;
  if (!text) {
    report(systemLog, "[Ornavel] " + resource + ".json 未找到");
    return false;
  }
  auto file = parseKeyMap(*text);
  if (!file) {
    report(systemLog, "[Ornavel] " + resource + ".json 解析失败");
    return false;
  }
  *this = KeyMap(std::move(*file), layout);
  report(systemLog, "[Ornavel] 已加载映射 " + std::to_string(file_.map.size()) + " 条");
  return true;
}

std::optional<std::string> KeyMap::map(std::string_view typed) const {
  const auto it = file_.map.find(typed);
  if (it == file_.map.end()) return std::nullopt;
  return it->second;
}

}  // namespace ornav
