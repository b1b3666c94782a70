// The controls of a described dialog as Qt widgets, placed at their frames.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/linux/qt/qt_images.h"
#include "ports/dialog_window.h"

class QProgressBar;

namespace ornav::linux_platform {

enum class DialogControlKind { label, button, textView, textField, progress, image, box };

struct DialogControl {
  DialogControlKind kind = DialogControlKind::label;
  QWidget* widget = nullptr;  // owned by the window
};

// Creates the control as a child of `window` (whose content is `contentHeight` high) at its
// frame. A button reports its action through `onPress`.
DialogControl buildDialogControl(const ControlDescription& description, QWidget& window,
                                 double contentHeight, const ImageLoader& images,
                                 const std::function<void(DialogAction)>& onPress);

// A label's text, a button's title, a field's or a text view's content; false for the others.
bool setDialogControlText(const DialogControl& control, const QString& text);
std::optional<QString> dialogControlText(const DialogControl& control);

// Determinate progress is shown on a fixed scale of steps; indeterminate progress is a busy bar.
inline constexpr int kProgressSteps = 10000;
void applyProgress(QProgressBar& bar, const ProgressState& state);

}  // namespace ornav::linux_platform
