// The input menu (under the input-source icon), described as a value that the controller builds
// afresh each time and the platform realises; choosing an item reports its action.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ornav {

struct MenuItem {
  enum class State { none, off, on };
  std::string title;
  std::string action;  // empty for separators
  State state = State::none;
  bool separator = false;
  std::string keyEquivalent;

  static MenuItem item(std::string title, std::string action, State state = State::none) {
    return MenuItem{std::move(title), std::move(action), state, false, ""};
  }
  static MenuItem separatorItem() { return MenuItem{"", "", State::none, true, ""}; }
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
                    std::function<void(const std::string& action)> onAction) = 0;
};

}  // namespace ornav
