#include "session_protocol.h"

#include <cmath>
#include <cstdint>
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

// [x, y, width, height]: four finite numbers, width and height not negative.
std::optional<Rect> rectValue(const json& value) {
  if (!value.is_array() || value.size() != 4) return std::nullopt;
  double parts[4];
  for (std::size_t i = 0; i < 4; ++i) {
    if (!value[i].is_number()) return std::nullopt;
    parts[i] = value[i].get<double>();
    if (!std::isfinite(parts[i])) return std::nullopt;
  }
  if (parts[2] < 0 || parts[3] < 0) return std::nullopt;
  return Rect{parts[0], parts[1], parts[2], parts[3]};
}

std::optional<Rect> rectMember(const json& object, const char* key) {
  auto it = object.find(key);
  if (it == object.end()) return std::nullopt;
  return rectValue(*it);
}

// A coordinate as the layout computed it: whole numbers without a fraction, others in the
// shortest form that reads back as the same double.
std::string number(double value) {
  if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 9.0e15) {
    return std::to_string(static_cast<std::int64_t>(value));
  }
  return json(value).dump();
}

std::string rectText(const Rect& rect) {
  return "[" + number(rect.x) + "," + number(rect.y) + "," + number(rect.width) + "," +
         number(rect.height) + "]";
}

}  // namespace

std::optional<std::vector<Screen>> parseScreensJson(std::string_view text, std::string* error) {
  auto fail = [error](std::string why) -> std::optional<std::vector<Screen>> {
    if (error != nullptr) *error = std::move(why);
    return std::nullopt;
  };
  const json root = json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (root.is_discarded()) return fail("not JSON (or not UTF-8)");
  if (!root.is_array()) return fail("not a JSON array of screens");
  std::vector<Screen> screens;
  for (std::size_t i = 0; i < root.size(); ++i) {
    const json& entry = root[i];
    const std::string which = "screen " + std::to_string(i + 1);
    if (!entry.is_object()) return fail(which + " is not a JSON object");
    const auto frame = rectMember(entry, "frame");
    if (!frame) return fail(which + ": \"frame\" is not [x,y,w,h] (four numbers, w and h >= 0)");
    const auto visible = rectMember(entry, "visibleFrame");
    if (!visible) {
      return fail(which + ": \"visibleFrame\" is not [x,y,w,h] (four numbers, w and h >= 0)");
    }
    screens.push_back(Screen{*frame, *visible});
  }
  return screens;
}

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
  if (event == "caret") {
    auto rect = rectMember(root, "rect");
    if (!rect) return fail("caret event without a rect [x,y,w,h] (four numbers, w and h >= 0)");
    return ParsedEvent{SessionEvent{CaretEvent{*rect}}, ""};
  }
  if (event == "menu") {
    auto item = root.find("item");
    if (item == root.end() || !item->is_string()) return fail("menu event without an item title");
    return ParsedEvent{SessionEvent{MenuEvent{item->get<std::string>()}}, ""};
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
  text += "}";
  text += ",\"window\":" + (state.window ? rectText(*state.window) : std::string("null"));
  text += ",\"cells\":[";
  for (std::size_t i = 0; i < state.cells.size(); ++i) {
    const SessionCell& cell = state.cells[i];
    if (i > 0) text += ",";
    text += "{\"index\":" + std::to_string(cell.index);
    text += ",\"word\":" + dump(cell.word);
    text += ",\"digit\":" + dump(cell.digit);
    text += ",\"dim\":";
    text += cell.dim ? "true" : "false";
    text += ",\"highlighted\":";
    text += cell.highlighted ? "true" : "false";
    text += ",\"frame\":" + rectText(cell.frame) + "}";
  }
  text += "]}";
  return text;
}

}  // namespace ornav::session
