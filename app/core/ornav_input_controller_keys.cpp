// Key handling: the one entry through which every key event reaches the controller, and the
// decision table that says what each key does with the composition and the candidate grid.
#include <cstdint>
#include <string>

#include "core/ornav_input_controller.h"

namespace ornav {

namespace {

constexpr std::uint64_t kChordMask =
    ModifierFlag::kControl | ModifierFlag::kOption | ModifierFlag::kCommand;

// A selection digit: exactly one character, the decimal digit 1 to pageSize.
std::optional<int> selectionDigit(const std::optional<std::string>& characters) {
  if (!characters || characters->size() != 1) return std::nullopt;
  const char c = (*characters)[0];
  if (c < '1' || c > '0' + CandidateGrid::pageSize) return std::nullopt;
  return c - '0';
}

}  // namespace

bool OrnavInputController::handle(const KeyEvent* event, TextClient* client) {
  if (event == nullptr) return false;
  if (event->type != KeyEventType::keyDown) return false;
  if (client == nullptr) return false;

  // Shortcuts reach the client; whatever is being composed lands before them, as typed.
  if ((event->modifierFlags & kChordMask) != 0) {
    commitComposing(client);
    return false;
  }

  bootstrapIfNeeded();
  if (env_->services) env_->services->silentCheckIfDue();

  if (!engine_) return directInsert(*event, client);

  // What the client shows as marked text is the engine's buffer as the last update read it.
  const bool bufferNonEmpty = !composing_.empty();
  const bool panelShown = !grid_.candidates.empty() && panelIsVisible();

  // Return, and Space or Delete with nothing to work on: an empty buffer lets the key through,
  // dismissing a visible panel in the same keystroke.
  auto commitOrPassThrough = [&]() {
    if (bufferNonEmpty) {
      const std::string raw = engine_->commitRaw();
      insert(raw + " ", client);
      updateUI(client);
      return true;
    }
    if (panelIsVisible()) dismiss();
    return false;
  };

  switch (event->keyCode) {
    case KeyCode::kReturn:
    case KeyCode::kKeypadEnter:
      return commitOrPassThrough();

    case KeyCode::kSpace:
      if (panelShown && grid_.highlight >= 0) {
        pickCandidate(grid_.highlight, client);
        return true;
      }
      return commitOrPassThrough();

    case KeyCode::kDelete:
      if (bufferNonEmpty) {
        takeBackLetter(client);
        return true;
      }
      if (panelIsVisible()) dismiss();
      return false;

    case KeyCode::kEscape:
      if (bufferNonEmpty) {
        engine_->reset();
        updateUI(client);
        return true;
      }
      if (panelShown) {
        dismiss();
        return true;
      }
      return false;

    case KeyCode::kTab:
      if (!panelShown) return false;
      grid_.tabStep();
      refreshPanel(client);
      return true;

    // The rows read right to left, like the script: Left goes to the next candidate.
    case KeyCode::kLeftArrow:
      if (!panelShown) return false;
      moveHighlight(+1, client);
      return true;
    case KeyCode::kRightArrow:
      if (!panelShown) return false;
      moveHighlight(-1, client);
      return true;
    case KeyCode::kDownArrow:
      if (!panelShown) return false;
      grid_.expanded = true;
      moveHighlight(+CandidateGrid::pageSize, client);
      return true;
    case KeyCode::kUpArrow:
      if (!panelShown) return false;
      moveHighlight(-CandidateGrid::pageSize, client);
      return true;

    default:
      break;
  }

  if (panelShown) {
    if (auto digit = selectionDigit(event->characters)) {
      pickInRow(*digit - 1, client);
      return true;
    }
  }

  if (!event->characters || event->characters->empty()) {
    commitComposing(client);
    return false;
  }
  const std::string& typed = *event->characters;

  static const KeyMap kNoKeys;
  const KeyMap& keys = env_->keyMap != nullptr ? *env_->keyMap : kNoKeys;

  // Punctuation of the script ends the word as typed and goes straight to the client.
  if (auto mark = keys.extras().punctuationText(typed)) {
    commitComposing(client);
    insert(*mark, client);
    return true;
  }

  return typeLetter(keys, typed, client);
}

void OrnavInputController::dismiss() {
  if (engine_) engine_->reset();
  composing_.clear();
  grid_.clear();
  // A panel that was never made is not on screen; there is nothing to hide.
  if (panel_) panel_->hide();
}

void OrnavInputController::bootstrapIfNeeded() {
  ControllerProcessState& process = env_->process;
  if (process.didBootstrap) return;
  // Set first, so a later key event never retries, whether or not the fetch starts now.
  process.didBootstrap = true;
  if (!env_->services) return;
  ControllerServices& services = *env_->services;
  if (services.onlineDictEnabled() && engine_) {
    services.fetchCloudDict(services.cloudDictVersion(), syncCloudDictCompletion());
  }
}

}  // namespace ornav
