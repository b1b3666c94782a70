// The headless session's client: a plain text field that records what the controller does to it
// (committed text, marked text, selection) and, for keys the controller lets through, behaves as
// an ordinary text field would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ports/key_event.h"
#include "ports/text_client.h"

namespace ornav::session {

// One line of a field at a fixed place on the default screen.
inline constexpr Rect kDefaultCaret{100, 500, 1, 18};

class SessionClient : public TextClient {
 public:
  const std::string& document() const { return document_; }
  const std::string& marked() const { return marked_; }
  TextRange selection() const { return selection_; }
  // The line rectangle reported for every character index from now on (screen coordinates).
  void setLineRect(const Rect& rect) { lineRect_ = rect; }
  const Rect& lineRect() const { return lineRect_; }

  std::optional<std::string> bundleIdentifier() const override;
  void setMarkedText(const MarkedText& text, TextRange selection, TextRange replacement) override;
  void insertText(const std::string& text, TextRange replacement) override;
  std::optional<Rect> lineRectAt(std::int64_t index) override;

  // What the text field does with a key the controller did not handle: shortcuts and navigation
  // keys do nothing, Return and Enter add a line break, Space a space, Delete removes the last
  // character as the user sees it, any other key adds its characters.
  void applyUnhandledKey(const KeyEvent& event);

 private:
  std::string document_;
  std::string marked_;
  TextRange selection_{0, 0};
  Rect lineRect_ = kDefaultCaret;
};

}  // namespace ornav::session
