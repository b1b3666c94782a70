#include "platform/linux/host/pad_text_area.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <map>
#include <memory>

#include "platform/linux/qt/flipped_space.h"
#include "platform/linux/qt/qt_key_event.h"

namespace ornav::linux_platform {
namespace {

// The UTF-16 position after `characters` user-perceived characters of `text` (its end when it
// has fewer).
int positionAfterCharacters(const QString& text, std::int64_t characters) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  int position = 0;
  for (std::int64_t n = 0; n < characters; ++n) {
    const int next = finder.toNextBoundary();
    if (next < 0) return static_cast<int>(text.size());
    position = next;
  }
  return position;
}

bool isModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Meta ||
         key == Qt::Key_Alt || key == Qt::Key_AltGr || key == Qt::Key_CapsLock ||
         key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

}  // namespace

PadTextArea::PadTextArea(std::string bundleIdentifier, QWidget* parent)
    : QPlainTextEdit(parent), bundleIdentifier_(std::move(bundleIdentifier)) {
  // The input controller is this program's input method; the desktop's must stay out.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setTabChangesFocus(false);
  // Uyghur runs right to left: paragraphs start at the right edge.
  QTextOption option = document()->defaultTextOption();
  option.setTextDirection(Qt::RightToLeft);
  option.setAlignment(Qt::AlignRight);
  document()->setDefaultTextOption(option);
}

QTextCursor PadTextArea::removeMarkedText() {
  QTextCursor cursor = textCursor();
  if (markedStart_ >= 0) {
    cursor.setPosition(markedStart_);
    cursor.setPosition(markedStart_ + markedLength_, QTextCursor::KeepAnchor);
  }
  cursor.removeSelectedText();
  markedStart_ = -1;
  markedLength_ = 0;
  return cursor;
}

void PadTextArea::setMarkedText(const MarkedText& text, TextRange selection, TextRange) {
  QTextCursor cursor = removeMarkedText();
  const QString marked = QString::fromStdString(text.text);
  const int start = cursor.position();
  if (!marked.isEmpty()) {
    QTextCharFormat format;
    if (text.underline == UnderlineStyle::single) format.setFontUnderline(true);
    cursor.insertText(marked, format);
    markedStart_ = start;
    markedLength_ = static_cast<int>(marked.size());
    cursor.setPosition(start + positionAfterCharacters(marked, selection.location));
    // What is typed after the marked text does not inherit its underline.
    setCurrentCharFormat(QTextCharFormat());
  }
  setTextCursor(cursor);
}

void PadTextArea::insertText(const std::string& text, TextRange) {
  QTextCursor cursor = removeMarkedText();
  cursor.insertText(QString::fromStdString(text), QTextCharFormat());
  setTextCursor(cursor);
}

std::optional<Rect> PadTextArea::lineRectAt(std::int64_t) {
  QTextCursor cursor = textCursor();
  if (markedStart_ >= 0) cursor.setPosition(markedStart_);
  const QRect local = cursorRect(cursor);
  const QPoint topLeft = viewport()->mapToGlobal(local.topLeft());
  // The whole line the caret stands in, as a client reports it: the caret's height, one point wide.
  return FlippedSpace::desktop().fromQt(QRectF(topLeft.x(), topLeft.y(), 1, local.height()));
}

QString PadTextArea::markedText() const {
  if (markedStart_ < 0) return {};
  return toPlainText().mid(markedStart_, markedLength_);
}

void PadTextArea::keyPressEvent(QKeyEvent* event) {
  if (!isModifierKey(event->key()) && handlers_.key && handlers_.key(keyEventFromQt(*event))) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void PadTextArea::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  if (handlers_.activated) handlers_.activated();
}

void PadTextArea::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  // A menu that pops up over the text area (the input menu) leaves it the active client.
  if (event->reason() != Qt::PopupFocusReason && handlers_.deactivated) handlers_.deactivated();
}

void PadTextArea::mousePressEvent(QMouseEvent* event) {
  if (handlers_.commitComposition) handlers_.commitComposition();
  QPlainTextEdit::mousePressEvent(event);
}

void PadTextArea::contextMenuEvent(QContextMenuEvent* event) {
  // The text area's own editing actions first, the input method's menu beneath them.
  std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
  // In the input method's language, like the rest of its texts; Qt names each action.
  static const std::map<QString, QString> kTitles = {
      {"edit-undo", "撤销"},  {"edit-redo", "重做"},  {"edit-cut", "剪切"},
      {"edit-copy", "复制"},  {"edit-paste", "粘贴"}, {"edit-delete", "删除"},
      {"select-all", "全选"},
  };
  for (QAction* action : menu->actions()) {
    const auto title = kTitles.find(action->objectName());
    if (title == kTitles.end()) continue;
    // Qt writes the shortcut after a tab in the title.
    const qsizetype tab = action->text().indexOf('\t');
    action->setText(title->second + (tab >= 0 ? action->text().mid(tab) : QString()));
  }
  if (handlers_.fillInputMenu) {
    menu->addSeparator();
    handlers_.fillInputMenu(*menu->addMenu("输入法菜单"));
  }
  menu->exec(event->globalPos());
  event->accept();
}

}  // namespace ornav::linux_platform
