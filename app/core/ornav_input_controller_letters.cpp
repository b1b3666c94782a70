// Letters and Backspace inside a word: each key's edit of the composition (word_spelling.h) goes
// through the engine's backspace and input, so the candidates follow every key at once.
#include <string>

#include "core/ornav_input_controller.h"

namespace ornav {

bool OrnavInputController::typeLetter(const KeyMap& keys, const std::string& typed,
                                      TextClient* client) {
  const std::optional<SpellingEdit> edit = spelling_.press(keys, typed, composing_);
  if (!edit) {
    commitComposing(client);
    return false;
  }
  applySpelling(*edit, client);
  return true;
}

void OrnavInputController::takeBackLetter(TextClient* client) {
  static const KeyMap kNoKeys;
  const KeyMap& keys = env_->keyMap != nullptr ? *env_->keyMap : kNoKeys;
  if (const auto edit = spelling_.takeBack(keys, composing_)) {
    applySpelling(*edit, client);
    return;
  }
  engine_->backspace();
  updateUI(client);
}

void OrnavInputController::applySpelling(const SpellingEdit& edit, TextClient* client) {
  // A separating key changes nothing that is shown.
  if (edit.erase == 0 && edit.input.empty()) return;
  for (std::size_t i = 0; i < edit.erase; ++i)
    engine_->backspace();
  if (!edit.input.empty()) engine_->input(edit.input);
  updateUI(client);
}

}  // namespace ornav
