#include "platform/linux/host/typing_pad.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/key_layout.h"
#include "core/ornav_input_controller.h"
#include "dialogs/key_map_window.h"
#include "platform/linux/qt/qt_input_menu.h"
#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

TypingPad::TypingPad(InputMethodServer& server, QtInputMenu& menu, const KeyMap& keys)
    : server_(server), menu_(menu), keys_(keys) {
  setWindowTitle("Ornavel");
  resize(640, 420);
  first_ = new PadTextArea("org.ornavel.pad.first", this);
  second_ = new PadTextArea("org.ornavel.pad.second", this);
  current_ = first_;
  for (PadTextArea* area : {first_, second_}) {
    area->setObjectName(area == first_ ? "first" : "second");
    QFont font = area->font();
    font.setPointSizeF(16);
    area->setFont(font);
    connect(*area);
  }
  // The button never takes the focus, so the area being typed in stays the input method's client.
  menuButton_ = new QToolButton(this);
  menuButton_->setText("输入法菜单 ▾");
  menuButton_->setFocusPolicy(Qt::NoFocus);
  QObject::connect(menuButton_, &QToolButton::clicked, this, [this] {
    showMenu(*current_, menuButton_->mapToGlobal(QPoint(0, menuButton_->height())));
  });

  // Ctrl-Q ends the program like closing the window (a chord: the controller lets it through).
  auto* quit = new QAction(this);
  quit->setShortcut(QKeySequence::Quit);
  QObject::connect(quit, &QAction::triggered, this, &QWidget::close);
  addAction(quit);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(menuButton_, 0, Qt::AlignLeft);
  hint_ = new QLabel(this);
  showLayout();
  layout->addWidget(hint_);
  layout->addWidget(first_, 1);
  layout->addWidget(second_, 1);
  first_->setFocus();
}

void TypingPad::setLook(const Font& textFont) {
  for (PadTextArea* area : {first_, second_})
    area->setFont(toQFont(textFont, area->logicalDpiY()));
}

TypingPad::~TypingPad() {
  for (PadTextArea* area : {first_, second_})
    server_.disconnect(*area);
}

void TypingPad::connect(PadTextArea& area) {
  PadTextArea::Handlers handlers;
  handlers.key = [this, &area](const KeyEvent& event) {
    current_ = &area;
    return server_.connect(area)->handle(&event, &area);
  };
  handlers.activated = [this, &area] {
    current_ = &area;
    server_.connect(area)->activateServer(&area);
  };
  handlers.deactivated = [this, &area] { server_.connect(area)->deactivateServer(&area); };
  handlers.fillInputMenu = [this, &area](QMenu& submenu) {
    std::weak_ptr<OrnavInputController> controller = server_.connect(area);
    menu_.fill(submenu, server_.connect(area)->menu(), [controller](InputMenuAction action) {
      if (auto alive = controller.lock()) alive->perform(action);
    });
  };
  handlers.commitComposition = [this, &area] { server_.connect(area)->commitComposing(&area); };
  area.setHandlers(std::move(handlers));
}

void TypingPad::showMenu(PadTextArea& area, QPoint globalPosition) {
  std::weak_ptr<OrnavInputController> controller = server_.connect(area);
  menu_.setNextAnchor(globalPosition);
  QPointer<TypingPad> pad(this);
  menu_.show(server_.connect(area)->menu(), [pad, controller](InputMenuAction action) {
    if (auto alive = controller.lock()) alive->perform(action);
    if (pad) pad->showLayout();  // the action may have switched the layout
  });
}

void TypingPad::showLayout() {
  std::string shifted;
  for (const auto& [key, letter] : key_map_window::shiftLetters(keys_))
    // Each letter isolated, so the right-to-left letters do not reorder the Latin list around them.
    shifted += (shifted.empty() ? "" : "、") + key + " \u2068" + letter + "\u2069";
  const std::string shift = shifted.empty() ? "" : "；Shift：" + shifted;
  hint_->setText(
      toQString("用拉丁字母键输入维吾尔文（" + keyLayoutName(keys_.layout()) + shift + "）："));
}

void TypingPad::closeEvent(QCloseEvent* event) {
  // Whatever is being composed lands before the pad goes, as when a client is left.
  for (PadTextArea* area : {first_, second_}) {
    if (auto controller = server_.controllerFor(*area)) controller->deactivateServer(area);
  }
  QWidget::closeEvent(event);
  QCoreApplication::quit();
}

}  // namespace ornav::linux_platform
