// The input menu (under the input-source icon), described as a value that the controller builds
// afresh each time and the platform realises; choosing an item reports its action.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ornav {

// What an item of the input menu does.
enum class InputMenuAction {
  showWelcomeEntry,
  showKeyMap,
  showAbout,
  toggleOnlineDict,
  toggleUploadConsent,
  togglePredictions,
  toggleUlyLayout,
  checkUpdate,
  sendFeedback,
};

struct MenuItem {
  enum class State { none, off, on };
  std::string title;
  std::optional<InputMenuAction> action;  // absent for separators
  State state = State::none;
  bool separator = false;
  std::string keyEquivalent;  // empty: no shortcut

  static MenuItem item(std::string title, InputMenuAction action, State state = State::none) {
    return MenuItem{std::move(title), action, state, false, ""};
  }
  static MenuItem separatorItem() { return MenuItem{"", std::nullopt, State::none, true, ""}; }
  friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

struct MenuDescription {
  std::string title;
  std::vector<MenuItem> items;
  friend bool operator==(const MenuDescription&, const MenuDescription&) = default;
};

class InputMenu {
 public:
  virtual ~InputMenu() = default;
  // Shows `menu`; `onAction` runs on the main thread with the chosen item's action.
  virtual void show(const MenuDescription& menu,
                    std::function<void(InputMenuAction action)> onAction) = 0;
};

}  // namespace ornav
