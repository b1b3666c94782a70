#include "session_client.h"

#include "base/text.h"

namespace ornav::session {

namespace {

constexpr std::uint64_t kShortcutMask =
    ModifierFlag::kControl | ModifierFlag::kOption | ModifierFlag::kCommand;

}  // namespace

std::optional<std::string> SessionClient::bundleIdentifier() const {
  return std::string("com.ornav.ornavel-session");
}

void SessionClient::setMarkedText(const MarkedText& text, TextRange selection, TextRange) {
  marked_ = text.text;
  selection_ = marked_.empty() ? TextRange{0, 0} : selection;
}

void SessionClient::insertText(const std::string& text, TextRange) {
  // Committed text replaces whatever was marked.
  document_ += text;
  marked_.clear();
  selection_ = TextRange{0, 0};
}

std::optional<Rect> SessionClient::lineRectAt(std::int64_t) {
  return lineRect_;
}

void SessionClient::applyUnhandledKey(const KeyEvent& event) {
  if ((event.modifierFlags & kShortcutMask) != 0) return;
  switch (event.keyCode) {
    case KeyCode::kReturn:
    case KeyCode::kKeypadEnter:
      document_ += "\n";
      return;
    case KeyCode::kSpace:
      document_ += " ";
      return;
    case KeyCode::kDelete:
      document_ = dropLastGrapheme(document_);
      return;
    case KeyCode::kEscape:
    case KeyCode::kTab:
    case KeyCode::kLeftArrow:
    case KeyCode::kRightArrow:
    case KeyCode::kDownArrow:
    case KeyCode::kUpArrow:
      return;
    default:
      break;
  }
  if (!event.characters || event.characters->empty()) return;
  document_ += *event.characters;
}

}  // namespace ornav::session
