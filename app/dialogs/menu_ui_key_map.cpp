// The key map window.
#include "dialogs/key_map_window.h"
#include "dialogs/menu_ui.h"

namespace ornav {

void MenuUI::showKeyMap(const KeyMap& keyMap) {
  key_map_window::Layout layout = key_map_window::layoutOf(keyMap);
  if (keyMapWindow_ && layout == keyMapShown_) {
    present(*keyMapWindow_.window);
    return;
  }
  // Another layout than the one drawn (it was switched since): the window is drawn afresh.
  drop(keyMapWindow_);
  constexpr double kLetterSize = 20;
  const Font letters = ports_.wordFont ? ports_.wordFont(kLetterSize) : Font::system(kLetterSize);
  keyMapWindow_ = makeWindow(key_map_window::describe(keyMap, letters));
  keyMapShown_ = std::move(layout);
  if (keyMapWindow_) present(*keyMapWindow_.window);
}

}  // namespace ornav
