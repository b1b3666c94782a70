// The input menu on Qt: a pop-up QMenu at the mouse pointer (or at an anchor the host names).
#pragma once

#include <QMenu>
#include <QPoint>
#include <memory>
#include <optional>

#include "ports/input_menu.h"

namespace ornav::linux_platform {

class QtInputMenu : public InputMenu {
 public:
  QtInputMenu();
  ~QtInputMenu() override;
  QtInputMenu(const QtInputMenu&) = delete;
  QtInputMenu& operator=(const QtInputMenu&) = delete;

  // The chosen item's action reaches `onAction` from the event loop once the menu has closed.
  void show(const MenuDescription& menu,
            std::function<void(InputMenuAction action)> onAction) override;

  // Fills `target` with the described items (the caller shows it); a choice reaches `onAction`
  // like one from show().
  void fill(QMenu& target, const MenuDescription& menu,
            std::function<void(InputMenuAction action)> onAction);

  // The next menu opens with its top left at `globalPosition` (e.g. under the host's menu
  // button) instead of at the mouse pointer.
  void setNextAnchor(QPoint globalPosition) { anchor_ = globalPosition; }
  // The menu shown last, while it exists (for tests).
  QMenu* currentMenu() const { return menu_.get(); }

 private:
  struct Alive {};
  std::shared_ptr<Alive> alive_;  // queued choices are dropped once this object is gone
  std::unique_ptr<QMenu> menu_;
  std::optional<QPoint> anchor_;
};

}  // namespace ornav::linux_platform
