// The line protocol of ornavel-session: one JSON event per input line, one JSON state per output
// line.
//
// Events: {"event":"activate"} | {"event":"deactivate"}
//         {"event":"key","keyCode":N,"characters":"x"|null|absent,"modifierFlags":N}
//         {"event":"click","index":N}
//         {"event":"caret","rect":[x,y,w,h]}
//         {"event":"menu","item":"<title of an input-menu item>"}
// State:  {"handled":true|false|null,"document":"...","marked":"...","selection":[loc,len],
//          "panel":{"visible":b,"rows":[[...]],"activeRow":r,"activeCol":c,"tabHint":b},
//          "window":[x,y,w,h]|null,
//          "cells":[{"index":g,"word":"...","digit":"1","dim":b,"highlighted":b,
//                    "frame":[x,y,w,h]}, ...]}
// Screens (--screens FILE): [{"frame":[x,y,w,h],"visibleFrame":[x,y,w,h]}, ...]
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/candidate_grid.h"
#include "ports/geometry.h"
#include "ports/key_event.h"
#include "ports/screens.h"
#include "ports/text_client.h"

namespace ornav::session {

struct ActivateEvent {};
struct DeactivateEvent {};
struct ClickEvent {
  int index = 0;
};
// The client's line rectangle from now on, in screen coordinates.
struct CaretEvent {
  Rect rect;
};
// The input-menu item with this title is chosen.
struct MenuEvent {
  std::string item;
};
using SessionEvent =
    std::variant<ActivateEvent, DeactivateEvent, KeyEvent, ClickEvent, CaretEvent, MenuEvent>;

// The event of one input line, or an error text saying what is wrong with it.
struct ParsedEvent {
  std::optional<SessionEvent> event;
  std::string error;
};
ParsedEvent parseEventLine(std::string_view line);

// The screens of a --screens file: a JSON array of objects with "frame" and "visibleFrame", each
// four numbers x, y, width, height (width and height not negative); the first is the main screen,
// and an empty array means none. Absent, with the reason in `error`, for anything else.
std::optional<std::vector<Screen>> parseScreensJson(std::string_view text, std::string* error);

// One cell of the panel as drawn.
struct SessionCell {
  int index = -1;  // the global index; -1 for the hint cell
  std::string word;
  std::string digit;  // "" for none
  bool dim = false;
  bool highlighted = false;
  Rect frame;  // in the window's content coordinates
};

struct SessionState {
  std::optional<bool> handled;
  std::string document;
  std::string marked;
  TextRange selection{0, 0};
  bool panelVisible = false;
  PanelContent panel;
  std::optional<Rect> window;  // screen coordinates; absent while hidden
  std::vector<SessionCell> cells;
};

// One output line, without the line feed. Text that is not valid UTF-8 is written with U+FFFD.
std::string formatState(const SessionState& state);

}  // namespace ornav::session
