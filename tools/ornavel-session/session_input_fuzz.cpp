// Everything a session reads from outside: event lines and --screens files. Neither may crash,
// and whatever they give must come back out as one line of valid JSON.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

#include "session_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  using namespace ornav::session;

  SessionState state;
  const ParsedEvent parsed = parseEventLine(text);
  if (parsed.event) {
    if (const auto* caret = std::get_if<CaretEvent>(&*parsed.event)) {
      state.window = caret->rect;
      state.cells.push_back(SessionCell{-1, "Tab ▾", "", true, false, caret->rect});
    }
  }
  if (const auto screens = parseScreensJson(text, nullptr)) {
    for (const auto& screen : *screens)
      state.cells.push_back(SessionCell{0, std::string(text), "1", false, true, screen.frame});
  }
  const std::string line = formatState(state);
  if (line.find('\n') != std::string::npos) __builtin_trap();
  if (nlohmann::json::parse(line, nullptr, false).is_discarded()) __builtin_trap();
  return 0;
}
