// Dialog windows built from a description: a titled window of fixed size whose controls sit at
// fixed frames. The portable code fills the description and later reaches the controls by name;
// the platform only realises them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ports/geometry.h"
#include "ports/key_event.h"
#include "ports/panel_window.h"
#include "ports/text_client.h"
#include "ports/ui_types.h"

namespace ornav {

// Static text: not editable, not selectable, no border or background, wraps words, any lines.
struct LabelControl {
  std::string text;
  Font font;
  TextAlignment alignment = TextAlignment::left;
  std::optional<Color> color;  // absent: the default label colour
};

// Whether a label's frame is tall enough for a second line of its font (a line taken as 1.2 times
// the point size). Such labels wrap at their width; the others keep one line and clip at their
// end, since a wrapped line would show cut in half under the first.
inline bool labelHoldsSeveralLines(const Font& font, double frameHeight) {
  return frameHeight >= 2 * 1.2 * font.pointSize;
}

// What a dialog button does: one action of the dialogs' shared action target.
enum class DialogAction {
  closeWelcome,
  closeFeedback,
  closeUpdate,
  submitFeedback,
  openSetupGuide,
  openFeedbackPage,
  startInAppUpdate,
  about,
  checkUpdate,
  feedback,
  welcome,
};

// A rounded push button; pressing it reports `action` to the window's action handler.
struct ButtonControl {
  std::string title;
  DialogAction action = DialogAction::closeWelcome;
  std::string keyEquivalent;  // "\r" for Return; empty for none
  bool enabled = true;
};

// A multi-line text view inside a bordered scroll view with a vertical scroller.
struct TextViewControl {
  std::string text;
  Font font;
  bool editable = false;
  bool selectable = true;
};

// A single-line, bordered, editable text field.
struct TextFieldControl {
  std::string text;
  std::string placeholder;
  Font font;
};

struct ProgressState {
  bool indeterminate = false;
  bool animating = false;
  double minValue = 0;
  double maxValue = 1;
  double value = 0;
  friend bool operator==(const ProgressState&, const ProgressState&) = default;
};

struct ProgressControl {
  ProgressState state;
};

// An image scaled proportionally up or down; the first source that loads is shown.
struct ImageSource {
  enum class Kind { named, file, applicationIcon };
  Kind kind = Kind::named;
  std::string value;  // the image name or the file path
};
struct ImageControl {
  std::vector<ImageSource> sources;
};

// A filled, outlined rectangle with rounded corners (a key cap), drawn under the controls
// described after it.
struct BoxControl {
  Color fill;
  Color border;
  double borderWidth = 1;
  double cornerRadius = 0;
};

using ControlKind = std::variant<LabelControl, ButtonControl, TextViewControl, TextFieldControl,
                                 ProgressControl, ImageControl, BoxControl>;

struct ControlDescription {
  std::string name;  // unique within the window; empty for controls never reached again
  Rect frame;        // content coordinates, origin bottom left
  ControlKind kind;
};

// Editing commands that dialog windows perform for standard shortcuts themselves.
enum class EditCommand { selectAll, copy, paste, cut, undo, redo };

struct WindowDescription {
  std::string title;
  Size contentSize;
  WindowLevel level = WindowLevel::floating;  // above the client application's windows
  bool closable = true;
  bool resizable = false;
  bool miniaturizable = false;
  std::vector<ControlDescription> controls;
  // The control that has the keyboard focus when the window first shows; empty for the default.
  std::string initialFocus;
  // Asked for every key equivalent that reaches the window; a command is performed on the focused
  // control (or sent up the responder chain); absent lets the platform handle the key as usual.
  std::function<std::optional<EditCommand>(const KeyEvent&)> keyEquivalentRule;
};

class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // Brings the window to the front and makes it key (it is centred when created).
  virtual void show() = 0;
  // Brings the window to the front where it does not cover the window the user types in, and
  // leaves the keyboard there: for a window that comes up by itself while the user types.
  virtual void showWithoutFocus() = 0;
  // Closes the window for good; the title-bar close button only hides it.
  virtual void close() = 0;
  virtual bool isVisible() const = 0;

  // Control access by name; false (or absent) when no control has that name or the kind does
  // not fit. setText sets a label's text, a button's title, a field's or text view's content.
  virtual bool setText(const std::string& control, const std::string& text) = 0;
  virtual std::optional<std::string> text(const std::string& control) const = 0;
  virtual bool setEnabled(const std::string& control, bool enabled) = 0;
  virtual bool setProgress(const std::string& control, const ProgressState& state) = 0;

  // Button presses, on the main thread, with the button's action.
  virtual void setActionHandler(std::function<void(DialogAction action)> handler) = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Creates the window, centred and not yet shown.
  virtual std::unique_ptr<DialogWindow> createWindow(const WindowDescription& description) = 0;
  // Creates a candidate panel window, off screen.
  virtual std::unique_ptr<PanelWindow> createPanelWindow() = 0;
  // Brings this application to the front (it is normally not active while the user types).
  virtual void activateApplication() = 0;
};

}  // namespace ornav
