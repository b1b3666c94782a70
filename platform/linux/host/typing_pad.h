// The Linux stand-in for the applications a user types into: a window titled "Ornavel" with two
// text areas, each a client of its own (its own bundle identifier, so the input-method server
// gives each its own controller), and a button that opens the input menu of the area in use. The
// hint above the areas names the key layout in use.
#pragma once

#include <QWidget>
#include <memory>

#include "core/input_method_server.h"
#include "core/key_map.h"
#include "platform/linux/host/pad_text_area.h"
#include "platform/linux/qt/qt_input_menu.h"
#include "ports/ui_types.h"

class QLabel;
class QToolButton;

namespace ornav::linux_platform {

class TypingPad : public QWidget {
 public:
  // `server`, `menu` and `keys` (the process's key map) must outlive the pad.
  TypingPad(InputMethodServer& server, QtInputMenu& menu, const KeyMap& keys);
  ~TypingPad() override;

  // The text areas write in `textFont` (the candidates' font, so an inserted word looks like its
  // candidate).
  void setLook(const Font& textFont);

  PadTextArea& first() { return *first_; }
  PadTextArea& second() { return *second_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void connect(PadTextArea& area);
  void showMenu(PadTextArea& area, QPoint globalPosition);
  // The hint above the text areas: the layout in use and the letters that need Shift in it.
  void showLayout();

  InputMethodServer& server_;
  QtInputMenu& menu_;
  const KeyMap& keys_;
  QLabel* hint_;
  PadTextArea* first_;
  PadTextArea* second_;
  PadTextArea* current_;  // the area typed in last
  QToolButton* menuButton_;
};

}  // namespace ornav::linux_platform
