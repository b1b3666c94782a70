#include "platform/linux/qt/qt_dialog_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "dialogs/window_placement.h"
#include "platform/linux/qt/flipped_space.h"
#include "platform/linux/qt/qt_key_event.h"
#include "platform/linux/qt/qt_screens.h"
#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

namespace {

Qt::WindowFlags dialogFlags(const WindowDescription& description, bool owned) {
  // An owned window is a dialog of its owner: window systems keep only such windows in front of
  // the window they belong to.
  Qt::WindowFlags flags =
      (owned ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (description.closable) flags |= Qt::WindowCloseButtonHint;
  if (description.miniaturizable) flags |= Qt::WindowMinimizeButtonHint;
  if (description.resizable) flags |= Qt::WindowMaximizeButtonHint;
  // A child of the program's window stays in front of it without covering other applications.
  if (description.level != WindowLevel::normal && !owned) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

const char* slotOf(EditCommand command) {
  switch (command) {
    case EditCommand::selectAll:
      return "selectAll";
    case EditCommand::copy:
      return "copy";
    case EditCommand::paste:
      return "paste";
    case EditCommand::cut:
      return "cut";
    case EditCommand::undo:
      return "undo";
    case EditCommand::redo:
      return "redo";
  }
  return "";
}

}  // namespace

DialogWidget::DialogWidget(const WindowDescription& description, QWidget* owner)
    : QWidget(nullptr, dialogFlags(description, owner != nullptr)),
      keyEquivalentRule_(description.keyEquivalentRule),
      owner_(owner) {
  setWindowTitle(toQString(description.title));
  const QSize size(qRound(description.contentSize.width), qRound(description.contentSize.height));
  if (description.resizable) {
    resize(size);
  } else {
    setFixedSize(size);
  }
  // Closing from the title bar hides the window and keeps it; it never ends the program.
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAttribute(Qt::WA_QuitOnClose, false);
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && performKeyEquivalent(*static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool DialogWidget::performKeyEquivalent(const QKeyEvent& event) {
  constexpr Qt::KeyboardModifiers kEquivalentModifiers =
      Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier;
  if (!keyEquivalentRule_ || (event.modifiers() & kEquivalentModifiers) == 0) return false;
  // Modifier keys on their own only change flags; they are no key equivalents.
  const KeyEvent key = keyEventFromQt(event);
  if (key.type != KeyEventType::keyDown) return false;
  const std::optional<EditCommand> command = keyEquivalentRule_(key);
  if (!command) return false;
  QWidget* target = focusWidget();
  // A focused control without that command lets the key go on as usual.
  const char* slot = slotOf(*command);
  if (target == nullptr ||
      target->metaObject()->indexOfMethod(QByteArray(slot).append("()").constData()) < 0) {
    return false;
  }
  return QMetaObject::invokeMethod(target, slot, Qt::DirectConnection);
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
  const bool returnKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (returnKey && modifiers == Qt::NoModifier) {
    if (defaultButton_ && defaultButton_->isEnabled() && defaultButton_->isVisible()) {
      defaultButton_->click();
      event->accept();
      return;
    }
  }
  // A key that no control took is not dropped without a sound.
  if (!event->text().isEmpty() && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier) {
    QApplication::beep();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void DialogWidget::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // The keyboard goes back to the window the user was typing in, also without a window manager
  // to hand it on.
  if (owner_.isNull() || !owner_->isVisible()) return;
  QWidget* active = QApplication::activeWindow();
  if (active == nullptr || active == this) owner_->activateWindow();
}

QtDialogWindow::QtDialogWindow(const WindowDescription& description, const ImageLoader& images,
                               QWidget* owner)
    : actionTarget_(std::make_shared<ActionTarget>()),
      window_(std::make_unique<DialogWidget>(description, owner)),
      initialFocus_(description.initialFocus),
      owner_(owner) {
  // A press reaches the handler from the event loop, after the button's own event handling has
  // returned, so a handler may close and drop this window.
  std::weak_ptr<ActionTarget> weakTarget = actionTarget_;
  auto onPress = [weakTarget](DialogAction action) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weakTarget, action] {
          const std::shared_ptr<ActionTarget> target = weakTarget.lock();
          if (!target || !target->handler) return;
          const auto handler = target->handler;
          handler(action);
        },
        Qt::QueuedConnection);
  };

  for (const ControlDescription& item : description.controls) {
    const DialogControl control =
        buildDialogControl(item, *window_, window_->height(), images, onPress);
    window_->watchKeys(*control.widget);
    if (control.kind == DialogControlKind::button &&
        std::get<ButtonControl>(item.kind).keyEquivalent == "\r") {
      window_->setDefaultButton(static_cast<QPushButton*>(control.widget));
    }
    if (!item.name.empty()) controls_.emplace(item.name, control);
  }

  // Centred on the screen the user works on.
  if (const QScreen* screen = mainQScreen()) {
    const QRect available = screen->availableGeometry();
    window_->move(available.center() - window_->rect().center());
  }
}

QtDialogWindow::~QtDialogWindow() = default;

void QtDialogWindow::placeOnFirstShow() {
  if (placed_) return;
  placed_ = true;
  if (owner_.isNull() || !owner_->isVisible()) return;
  // Transient for the owner: the window system keeps it in front of the owner, and only of it.
  window_->winId();
  if (window_->windowHandle() != nullptr && owner_->window()->windowHandle() != nullptr) {
    window_->windowHandle()->setTransientParent(owner_->window()->windowHandle());
  }
  const QScreen* screen = owner_->screen();
  if (screen == nullptr) return;
  const FlippedSpace space = FlippedSpace::desktop();
  // The frames with their title bars, where a window manager draws them.
  const QSize decoration = window_->frameGeometry().size() - window_->size();
  const std::optional<Rect> beside =
      besideWindow(space.fromQt(owner_->frameGeometry()),
                   Size{double(window_->width() + decoration.width()),
                        double(window_->height() + decoration.height())},
                   space.fromQt(screen->availableGeometry()));
  if (beside) window_->move(space.toQt(*beside).topLeft().toPoint());
}

void QtDialogWindow::showWithoutFocus() {
  if (closed_) return;
  placeOnFirstShow();
  // The native window may exist already, and then only its own property is read at showing.
  window_->setAttribute(Qt::WA_ShowWithoutActivating, true);
  if (QWindow* handle = window_->windowHandle())
    handle->setProperty("_q_showWithoutActivating", true);
  window_->show();
  window_->raise();
  window_->setAttribute(Qt::WA_ShowWithoutActivating, false);
  if (QWindow* handle = window_->windowHandle())
    handle->setProperty("_q_showWithoutActivating", {});
}

void QtDialogWindow::show() {
  if (closed_) return;
  placeOnFirstShow();
  window_->show();
  window_->raise();
  window_->activateWindow();
  if (!shownBefore_) {
    shownBefore_ = true;
    if (QWidget* focus = control(initialFocus_)) focus->setFocus(Qt::OtherFocusReason);
  }
}

void QtDialogWindow::close() {
  closed_ = true;
  window_->hide();
}

bool QtDialogWindow::isVisible() const {
  return window_->isVisible();
}

const DialogControl* QtDialogWindow::find(const std::string& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : &it->second;
}

QWidget* QtDialogWindow::control(const std::string& name) const {
  const DialogControl* found = find(name);
  return found != nullptr ? found->widget : nullptr;
}

bool QtDialogWindow::setText(const std::string& control, const std::string& text) {
  const DialogControl* found = find(control);
  return found != nullptr && setDialogControlText(*found, toQString(text));
}

std::optional<std::string> QtDialogWindow::text(const std::string& control) const {
  const DialogControl* found = find(control);
  if (found == nullptr) return std::nullopt;
  const std::optional<QString> text = dialogControlText(*found);
  if (!text) return std::nullopt;
  return fromQString(*text);
}

bool QtDialogWindow::setEnabled(const std::string& control, bool enabled) {
  const DialogControl* found = find(control);
  if (found == nullptr) return false;
  found->widget->setEnabled(enabled);
  return true;
}

bool QtDialogWindow::setProgress(const std::string& control, const ProgressState& state) {
  const DialogControl* found = find(control);
  if (found == nullptr || found->kind != DialogControlKind::progress) return false;
  applyProgress(*static_cast<QProgressBar*>(found->widget), state);
  return true;
}

void QtDialogWindow::setActionHandler(std::function<void(DialogAction action)> handler) {
  actionTarget_->handler = std::move(handler);
}

QImage QtDialogWindow::render() const {
  return window_->grab().toImage();
}

}  // namespace ornav::linux_platform
