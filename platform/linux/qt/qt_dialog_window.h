// Dialog windows on Qt: a titled top-level window of the described fixed size with the described
// controls at their frames. The title bar's close button only hides the window; close() ends it.
#pragma once

#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/qt/qt_dialog_controls.h"
#include "platform/linux/qt/qt_images.h"
#include "ports/dialog_window.h"

namespace ornav::linux_platform {

// The window itself. It performs the editing commands that the description's key-equivalent rule
// answers for shortcuts, and presses the default button on Return.
class DialogWidget : public QWidget {
 public:
  // With an `owner` (the program's main window) the window belongs to it: in front of it only,
  // and the keyboard goes back to it when the window hides. The owner does not own the widget.
  DialogWidget(const WindowDescription& description, QWidget* owner);

  // Watches `control` for key equivalents. Only the controls are watched: a key is asked about
  // once, where it arrives (a key the control leaves goes on to the window unasked), and without
  // a focused control there is nothing to perform a command on.
  void watchKeys(QWidget& control) { control.installEventFilter(this); }
  void setDefaultButton(QPushButton* button) { defaultButton_ = button; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool performKeyEquivalent(const QKeyEvent& event);

  std::function<std::optional<EditCommand>(const KeyEvent&)> keyEquivalentRule_;
  QPointer<QPushButton> defaultButton_;
  QPointer<QWidget> owner_;
};

class QtDialogWindow : public DialogWindow {
 public:
  QtDialogWindow(const WindowDescription& description, const ImageLoader& images,
                 QWidget* owner = nullptr);
  ~QtDialogWindow() override;
  QtDialogWindow(const QtDialogWindow&) = delete;
  QtDialogWindow& operator=(const QtDialogWindow&) = delete;

  void show() override;
  void showWithoutFocus() override;
  void close() override;
  bool isVisible() const override;

  bool setText(const std::string& control, const std::string& text) override;
  std::optional<std::string> text(const std::string& control) const override;
  bool setEnabled(const std::string& control, bool enabled) override;
  bool setProgress(const std::string& control, const ProgressState& state) override;
  void setActionHandler(std::function<void(DialogAction action)> handler) override;

  // The window and its named controls (for pictures of them and for tests).
  DialogWidget& widget() { return *window_; }
  QWidget* control(const std::string& name) const;
  // The window's content as drawn on screen.
  QImage render() const;

 private:
  // What a button's press reaches; it outlives neither this window nor its handler.
  struct ActionTarget {
    std::function<void(DialogAction)> handler;
  };

  const DialogControl* find(const std::string& name) const;
  // Beside the owner on its first showing, where that fits; centred otherwise.
  void placeOnFirstShow();

  std::shared_ptr<ActionTarget> actionTarget_;
  std::unique_ptr<DialogWidget> window_;
  std::map<std::string, DialogControl> controls_;
  std::string initialFocus_;
  QPointer<QWidget> owner_;
  bool placed_ = false;
  bool shownBefore_ = false;
  bool closed_ = false;
};

}  // namespace ornav::linux_platform
