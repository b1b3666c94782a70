#include "platform/linux/qt/qt_dialog_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "platform/linux/qt/flipped_space.h"
#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

namespace {

Qt::Alignment horizontalAlignment(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::natural:
      return Qt::AlignLeading;  // follows the layout direction
    case TextAlignment::left:
      return Qt::AlignLeft | Qt::AlignAbsolute;
    case TextAlignment::right:
      return Qt::AlignRight | Qt::AlignAbsolute;
    case TextAlignment::center:
      return Qt::AlignHCenter;
    case TextAlignment::justified:
      return Qt::AlignJustify;
  }
  return Qt::AlignLeading;
}

void setFont(QWidget& widget, const Font& font) {
  widget.setFont(toQFont(font, widget.logicalDpiY()));
}

QWidget* makeLabel(const LabelControl& control, double frameHeight, QWidget& window) {
  auto* label = new QLabel(toQString(control.text), &window);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::NoTextInteraction);
  label->setWordWrap(labelHoldsSeveralLines(control.font, frameHeight));
  label->setAlignment(horizontalAlignment(control.alignment) | Qt::AlignTop);
  label->setAutoFillBackground(false);
  setFont(*label, control.font);
  if (control.color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(*control.color, palette));
    label->setPalette(palette);
  }
  return label;
}

QWidget* makeButton(const ButtonControl& control, QWidget& window,
                    const std::function<void(DialogAction)>& onPress) {
  auto* button = new QPushButton(toQString(control.title), &window);
  button->setEnabled(control.enabled);
  button->setAutoDefault(false);
  // The window's Return key presses the button that answers to Return (see DialogWidget).
  if (control.keyEquivalent == "\r") button->setDefault(true);
  const DialogAction action = control.action;
  QObject::connect(button, &QPushButton::clicked, button, [onPress, action] { onPress(action); });
  return button;
}

QWidget* makeTextView(const TextViewControl& control, QWidget& window) {
  auto* view = new QPlainTextEdit(&window);
  view->setPlainText(toQString(control.text));
  view->setFrameShape(QFrame::StyledPanel);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  view->setReadOnly(!control.editable);
  if (control.editable) {
    view->setTextInteractionFlags(Qt::TextEditorInteraction);
  } else if (control.selectable) {
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  } else {
    view->setTextInteractionFlags(Qt::NoTextInteraction);
    view->setFocusPolicy(Qt::NoFocus);
  }
  setFont(*view, control.font);
  return view;
}

QWidget* makeTextField(const TextFieldControl& control, QWidget& window) {
  auto* field = new QLineEdit(toQString(control.text), &window);
  field->setPlaceholderText(toQString(control.placeholder));
  field->setFrame(true);
  setFont(*field, control.font);
  return field;
}

QWidget* makeProgress(const ProgressControl& control, QWidget& window) {
  auto* bar = new QProgressBar(&window);
  bar->setTextVisible(false);
  applyProgress(*bar, control.state);
  return bar;
}

QWidget* makeImage(const ImageControl& control, QWidget& window, const QRect& frame,
                   const ImageLoader& images) {
  auto* view = new QLabel(&window);
  view->setAlignment(Qt::AlignCenter);
  const QIcon icon = images.load(control.sources);
  if (!icon.isNull() && !frame.isEmpty()) {
    // Scaled proportionally up or down to fit the frame, from the closest size the source has.
    const qreal ratio = window.devicePixelRatioF();
    QPixmap pixmap =
        icon.pixmap(frame.size(), ratio)
            .scaled(frame.size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
    view->setPixmap(pixmap);
  }
  return view;
}

// A rounded rectangle, filled and outlined; the border lies inside the frame.
class BoxWidget : public QWidget {
 public:
  BoxWidget(const BoxControl& box, QWidget& window) : QWidget(&window), box_(box) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = box_.borderWidth / 2;
    painter.setPen(box_.borderWidth > 0 ? QPen(toQColor(box_.border, palette()), box_.borderWidth)
                                        : QPen(Qt::NoPen));
    painter.setBrush(toQColor(box_.fill, palette()));
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset),
                            box_.cornerRadius, box_.cornerRadius);
  }

 private:
  BoxControl box_;
};

}  // namespace

DialogControl buildDialogControl(const ControlDescription& description, QWidget& window,
                                 double contentHeight, const ImageLoader& images,
                                 const std::function<void(DialogAction)>& onPress) {
  const QRect frame = FlippedSpace::content(contentHeight).toQt(description.frame).toRect();
  DialogControl control;
  std::visit(
      [&](const auto& kind) {
        using Kind = std::decay_t<decltype(kind)>;
        if constexpr (std::is_same_v<Kind, LabelControl>) {
          control = {DialogControlKind::label, makeLabel(kind, description.frame.height, window)};
        } else if constexpr (std::is_same_v<Kind, ButtonControl>) {
          control = {DialogControlKind::button, makeButton(kind, window, onPress)};
        } else if constexpr (std::is_same_v<Kind, TextViewControl>) {
          control = {DialogControlKind::textView, makeTextView(kind, window)};
        } else if constexpr (std::is_same_v<Kind, TextFieldControl>) {
          control = {DialogControlKind::textField, makeTextField(kind, window)};
        } else if constexpr (std::is_same_v<Kind, ProgressControl>) {
          control = {DialogControlKind::progress, makeProgress(kind, window)};
        } else if constexpr (std::is_same_v<Kind, BoxControl>) {
          control = {DialogControlKind::box, new BoxWidget(kind, window)};
        } else {
          control = {DialogControlKind::image, makeImage(kind, window, frame, images)};
        }
      },
      description.kind);
  control.widget->setObjectName(toQString(description.name));
  control.widget->setGeometry(frame);
  return control;
}

bool setDialogControlText(const DialogControl& control, const QString& text) {
  switch (control.kind) {
    case DialogControlKind::label:
      static_cast<QLabel*>(control.widget)->setText(text);
      return true;
    case DialogControlKind::button:
      static_cast<QPushButton*>(control.widget)->setText(text);
      return true;
    case DialogControlKind::textView:
      static_cast<QPlainTextEdit*>(control.widget)->setPlainText(text);
      return true;
    case DialogControlKind::textField:
      static_cast<QLineEdit*>(control.widget)->setText(text);
      return true;
    case DialogControlKind::progress:
    case DialogControlKind::image:
    case DialogControlKind::box:
      return false;
  }
  return false;
}

std::optional<QString> dialogControlText(const DialogControl& control) {
  switch (control.kind) {
    case DialogControlKind::label:
      return static_cast<const QLabel*>(control.widget)->text();
    case DialogControlKind::button:
      return static_cast<const QPushButton*>(control.widget)->text();
    case DialogControlKind::textView:
      return static_cast<const QPlainTextEdit*>(control.widget)->toPlainText();
    case DialogControlKind::textField:
      return static_cast<const QLineEdit*>(control.widget)->text();
    case DialogControlKind::progress:
    case DialogControlKind::image:
    case DialogControlKind::box:
      return std::nullopt;
  }
  return std::nullopt;
}

void applyProgress(QProgressBar& bar, const ProgressState& state) {
  if (state.indeterminate) {
    bar.setRange(0, 0);
    return;
  }
  const double span = state.maxValue - state.minValue;
  double fraction = span > 0 ? (state.value - state.minValue) / span : 0;
  // NaN (a broken value) shows as empty, never as an undefined position.
  if (!(fraction >= 0)) fraction = 0;
  bar.setRange(0, kProgressSteps);
  bar.setValue(int(std::lround(std::min(fraction, 1.0) * kProgressSteps)));
}

}  // namespace ornav::linux_platform
