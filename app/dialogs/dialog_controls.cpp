#include "dialogs/dialog_controls.h"

namespace ornav::dialog_controls {

ControlDescription label(std::string name, Rect frame, std::string text, Font font,
                         std::optional<Color> color, TextAlignment alignment) {
  return ControlDescription{
      std::move(name), frame,
      LabelControl{std::move(text), std::move(font), alignment, std::move(color)}};
}

ControlDescription button(std::string name, Rect frame, std::string title, DialogAction action,
                          std::string keyEquivalent) {
  return ControlDescription{std::move(name), frame,
                            ButtonControl{std::move(title), action, std::move(keyEquivalent)}};
}

}  // namespace ornav::dialog_controls
