// One text area of the typing pad, standing in for a client application's text field: it shows
// the controller's marked text underlined where the caret is, takes committed text at the caret,
// and reports the caret's line on screen. Key presses go to its input controller first; what the
// controller lets through reaches the text area as usual.
#pragma once

#include <QMenu>
#include <QPlainTextEdit>
#include <functional>
#include <optional>
#include <string>

#include "ports/key_event.h"
#include "ports/text_client.h"

namespace ornav::linux_platform {

class PadTextArea : public QPlainTextEdit, public TextClient {
 public:
  struct Handlers {
    // The controller's answer to a key press: true when it consumed the key.
    std::function<bool(const KeyEvent&)> key;
    // The text area became the one the user types in, or stopped being it.
    std::function<void()> activated;
    std::function<void()> deactivated;
    // Fills the input menu, a submenu of the text area's own context menu.
    std::function<void(QMenu& submenu)> fillInputMenu;
    // The user clicked into the text: what is being composed lands first, as typed, and
    // predictions for the word before go.
    std::function<void()> commitComposition;
  };

  PadTextArea(std::string bundleIdentifier, QWidget* parent = nullptr);
  void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

  // TextClient
  std::optional<std::string> bundleIdentifier() const override { return bundleIdentifier_; }
  void setMarkedText(const MarkedText& text, TextRange selection, TextRange replacement) override;
  void insertText(const std::string& text, TextRange replacement) override;
  std::optional<Rect> lineRectAt(std::int64_t index) override;

  // The marked text shown now ("" when none).
  QString markedText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // Takes the marked text (or, without one, the selection) out; the cursor stands where it was.
  QTextCursor removeMarkedText();

  std::string bundleIdentifier_;
  Handlers handlers_;
  int markedStart_ = -1;  // in the document's UTF-16 positions; -1 while nothing is marked
  int markedLength_ = 0;
};

}  // namespace ornav::linux_platform
