#include "session_protocol.h"

#include <limits>
#include <nlohmann/json.hpp>

namespace ornav::session {

namespace {

using nlohmann::json;

// An integer member within [min, max]; absent when missing, not an integer, or out of range.
template <typename T>
std::optional<T> integerMember(const json& object, const char* key) {
  auto it = object.find(key);
  if (it == object.end() || !it->is_number_integer()) return std::nullopt;
  if (it->is_number_unsigned()) {
    const auto value = it->get<std::uint64_t>();
    if (value > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) return std::nullopt;
    return static_cast<T>(value);
  }
  const auto value = it->get<std::int64_t>();
  if (value < static_cast<std::int64_t>(std::numeric_limits<T>::min()) ||
      (value > 0 && static_cast<std::uint64_t>(value) >
                        static_cast<std::uint64_t>(std::numeric_limits<T>::max()))) {
    return std::nullopt;
  }
  return static_cast<T>(value);
}

ParsedEvent fail(std::string error) {
  return ParsedEvent{std::nullopt, std::move(error)};
}

ParsedEvent parseKey(const json& root) {
  KeyEvent event;
  event.type = KeyEventType::keyDown;
  auto keyCode = integerMember<std::uint16_t>(root, "keyCode");
  if (!keyCode) return fail("key event without a keyCode from 0 to 65535");
  event.keyCode = *keyCode;
  if (root.contains("modifierFlags")) {
    auto flags = integerMember<std::uint64_t>(root, "modifierFlags");
    if (!flags) return fail("modifierFlags is not a non-negative integer");
    event.modifierFlags = *flags;
  }
  auto chars = root.find("characters");
  if (chars != root.end() && !chars->is_null()) {
    if (!chars->is_string()) return fail("characters is neither a string nor null");
    event.characters = chars->get<std::string>();
    event.charactersIgnoringModifiers = event.characters;
  }
  return ParsedEvent{SessionEvent{event}, ""};
}

}  // namespace

ParsedEvent parseEventLine(std::string_view line) {
  const json root = json::parse(line, nullptr, /*allow_exceptions=*/false);
  if (root.is_discarded()) return fail("not JSON (or not UTF-8)");
  if (!root.is_object()) return fail("not a JSON object");
  auto name = root.find("event");
  if (name == root.end() || !name->is_string()) return fail("no \"event\" name");
  const std::string& event = name->get_ref<const std::string&>();
  if (event == "activate") return ParsedEvent{SessionEvent{ActivateEvent{}}, ""};
  if (event == "deactivate") return ParsedEvent{SessionEvent{DeactivateEvent{}}, ""};
  if (event == "key") return parseKey(root);
  if (event == "click") {
    auto index = integerMember<int>(root, "index");
    if (!index) return fail("click event without an integer index");
    return ParsedEvent{SessionEvent{ClickEvent{*index}}, ""};
  }
  return fail("unknown event \"" + event + "\"");
}

std::string formatState(const SessionState& state) {
  auto dump = [](const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
  };
  json rows = json::array();
  for (const auto& row : state.panel.rows)
    rows.push_back(row);
  // Members in the documented order.
  std::string text = "{\"handled\":";
  text += state.handled ? (*state.handled ? "true" : "false") : "null";
  text += ",\"document\":" + dump(state.document);
  text += ",\"marked\":" + dump(state.marked);
  text += ",\"selection\":[" + std::to_string(state.selection.location) + "," +
          std::to_string(state.selection.length) + "]";
  text += ",\"panel\":{\"visible\":";
  text += state.panelVisible ? "true" : "false";
  text += ",\"rows\":" + dump(rows);
  text += ",\"activeRow\":" + std::to_string(state.panel.activeRow);
  text += ",\"activeCol\":" + std::to_string(state.panel.activeCol);
  text += ",\"tabHint\":";
  text += state.panel.showTabHint ? "true" : "false";
  text += "}}";
  return text;
}

}  // namespace ornav::session
