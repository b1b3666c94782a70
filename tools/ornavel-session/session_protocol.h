// The line protocol of ornavel-session: one JSON event per input line, one JSON state per output
// line.
//
// Events: {"event":"activate"} | {"event":"deactivate"}
//         {"event":"key","keyCode":N,"characters":"x"|null|absent,"modifierFlags":N}
//         {"event":"click","index":N}
// State:  {"handled":true|false|null,"document":"...","marked":"...","selection":[loc,len],
//          "panel":{"visible":b,"rows":[[...]],"activeRow":r,"activeCol":c,"tabHint":b}}
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/candidate_grid.h"
#include "ports/key_event.h"
#include "ports/text_client.h"

namespace ornav::session {

struct ActivateEvent {};
struct DeactivateEvent {};
struct ClickEvent {
  int index = 0;
};
using SessionEvent = std::variant<ActivateEvent, DeactivateEvent, KeyEvent, ClickEvent>;

// The event of one input line, or an error text saying what is wrong with it.
struct ParsedEvent {
  std::optional<SessionEvent> event;
  std::string error;
};
ParsedEvent parseEventLine(std::string_view line);

struct SessionState {
  std::optional<bool> handled;
  std::string document;
  std::string marked;
  TextRange selection{0, 0};
  bool panelVisible = false;
  PanelContent panel;
};

// One output line, without the line feed. Text that is not valid UTF-8 is written with U+FFFD.
std::string formatState(const SessionState& state);

}  // namespace ornav::session
