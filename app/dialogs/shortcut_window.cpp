#include "dialogs/shortcut_window.h"

namespace ornav {

namespace {

std::string asciiLowercase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

std::optional<EditCommand> editingShortcut(const KeyEvent& event) {
  const std::uint64_t flags = event.modifierFlags & ModifierFlag::kDeviceIndependentMask;
  const bool command = flags == ModifierFlag::kCommand;
  const bool commandShift = flags == (ModifierFlag::kCommand | ModifierFlag::kShift);
  if ((!command && !commandShift) || !event.charactersIgnoringModifiers) return std::nullopt;

  // Only ASCII letters name a command, so lower-casing ASCII alone decides the same keys.
  const std::string key = asciiLowercase(*event.charactersIgnoringModifiers);
  if (commandShift) {
    if (key == "z") return EditCommand::redo;
    return std::nullopt;
  }
  if (key == "a") return EditCommand::selectAll;
  if (key == "c") return EditCommand::copy;
  if (key == "v") return EditCommand::paste;
  if (key == "x") return EditCommand::cut;
  if (key == "z") return EditCommand::undo;
  return std::nullopt;
}

WindowDescription shortcutWindow(std::string title, Size contentSize) {
  WindowDescription window;
  window.title = std::move(title);
  window.contentSize = contentSize;
  window.level = WindowLevel::floating;
  window.closable = true;
  window.resizable = false;
  window.miniaturizable = false;
  window.keyEquivalentRule = editingShortcut;
  return window;
}

}  // namespace ornav
