#include "platform/linux/qt/qt_input_menu.h"

#include <QCoreApplication>
#include <QCursor>

#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

QtInputMenu::QtInputMenu() : alive_(std::make_shared<Alive>()) {}

QtInputMenu::~QtInputMenu() = default;

void QtInputMenu::show(const MenuDescription& menu,
                       std::function<void(InputMenuAction action)> onAction) {
  // The previous menu may be the one whose choice is running now: it goes once that returns.
  if (menu_) {
    menu_->hide();
    menu_.release()->deleteLater();
  }
  menu_ = std::make_unique<QMenu>(toQString(menu.title));
  fill(*menu_, menu, std::move(onAction));
  const QPoint position = anchor_.value_or(QCursor::pos());
  anchor_.reset();
  menu_->popup(position);
}

void QtInputMenu::fill(QMenu& target, const MenuDescription& menu,
                       std::function<void(InputMenuAction action)> onAction) {
  std::weak_ptr<Alive> alive = alive_;
  auto shared = std::make_shared<std::function<void(InputMenuAction)>>(std::move(onAction));
  for (const MenuItem& item : menu.items) {
    if (item.separator) {
      target.addSeparator();
      continue;
    }
    QAction* action = target.addAction(toQString(item.title));
    if (item.state != MenuItem::State::none) {
      action->setCheckable(true);
      action->setChecked(item.state == MenuItem::State::on);
    }
    if (!item.keyEquivalent.empty()) {
      action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + toQString(item.keyEquivalent)));
    }
    if (!item.action) {
      action->setEnabled(false);
      continue;
    }
    const InputMenuAction chosen = *item.action;
    // The choice runs after the menu's own event handling, so it may open windows and alerts.
    QObject::connect(action, &QAction::triggered, action, [alive, shared, chosen] {
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [alive, shared, chosen] {
            if (alive.expired() || !*shared) return;
            (*shared)(chosen);
          },
          Qt::QueuedConnection);
    });
  }
}

}  // namespace ornav::linux_platform
