#include "platform/linux/qt/qt_panel_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "platform/linux/qt/flipped_space.h"
#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

namespace {

constexpr Qt::WindowFlags kPanelFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint;

Qt::WindowFlags panelFlags(const PanelScene& scene) {
  Qt::WindowFlags flags = kPanelFlags;
  if (scene.level == WindowLevel::normal) flags &= ~Qt::WindowStaysOnTopHint;
  if (!scene.hasShadow) flags |= Qt::NoDropShadowWindowHint;
  return flags;
}

// One line of text in its frame, unclipped (the cell and the word's area clip), shaped in its
// direction.
void drawLabel(QPainter& painter, const PanelLabel& label, const QRectF& frame,
               const QPalette& palette) {
  const QString text = toQString(label.text);
  bool rightToLeft = false;
  switch (label.direction) {
    case TextDirection::leftToRight:
      rightToLeft = false;
      break;
    case TextDirection::rightToLeft:
      rightToLeft = true;
      break;
    case TextDirection::natural:
      rightToLeft = text.isRightToLeft();
      break;
  }
  painter.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  painter.setFont(toQFont(label.font, painter.device()->logicalDpiY()));
  painter.setPen(toQColor(label.color, palette));
  const int alignment =
      Qt::AlignAbsolute | Qt::AlignVCenter | (rightToLeft ? Qt::AlignRight : Qt::AlignLeft);
  painter.drawText(frame, alignment | Qt::TextSingleLine | Qt::TextDontClip, text);
}

}  // namespace

PanelWidget::PanelWidget() : QWidget(nullptr, kPanelFlags) {
  // Showing, clicking or redrawing the panel must never move the keyboard focus away from the
  // client the user types into.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_X11DoNotAcceptFocus);
  setFocusPolicy(Qt::NoFocus);
  // The window itself is transparent: the rounded rectangle is the whole visible panel.
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_QuitOnClose, false);
  // Never shown as a title; it names the window for window-system tools (and the desktop tests).
  setWindowTitle("Ornavel candidates");
}

void PanelWidget::setScene(const PanelScene& scene) {
  scene_ = scene;
  wordOffsets_.assign(scene_.cells.size(), 0.0);
  // Changing the flags re-creates the native window, so only a change of kind does it.
  const Qt::WindowFlags flags = panelFlags(scene_);
  if (windowFlags() != flags) setWindowFlags(flags);
  setGeometry(FlippedSpace::desktop().toQt(scene_.frame).toRect());
  applyShape();
  update();
}

void PanelWidget::setTranslucent(bool translucent) {
  if (translucent == translucent_) return;
  translucent_ = translucent;
  applyShape();
  update();
}

void PanelWidget::applyShape() {
  if (translucent_) {
    if (!mask().isEmpty()) clearMask();
    return;
  }
  QPainterPath outline;
  outline.addRoundedRect(QRectF(rect()), scene_.cornerRadius, scene_.cornerRadius);
  setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void PanelWidget::setWordOffset(int cellIndex, double offset) {
  if (cellIndex < 0 || std::size_t(cellIndex) >= wordOffsets_.size()) return;
  wordOffsets_[std::size_t(cellIndex)] = offset;
  update(cellRect(cellIndex).toAlignedRect());
}

QRectF PanelWidget::cellRect(int cellIndex) const {
  if (cellIndex < 0 || std::size_t(cellIndex) >= scene_.cells.size()) return {};
  return FlippedSpace::content(height()).toQt(scene_.cells[std::size_t(cellIndex)].frame);
}

int PanelWidget::cellAt(const QPointF& position) const {
  for (std::size_t i = 0; i < scene_.cells.size(); ++i) {
    if (cellRect(int(i)).contains(position)) return int(i);
  }
  return -1;
}

void PanelWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(Qt::NoPen);
  QColor background = toQColor(scene_.background, palette());
  if (translucent_) {
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(rect()), scene_.cornerRadius, scene_.cornerRadius);
  } else {
    // The mask gives the shape; with nothing behind to blend with, the colour is opaque.
    background.setAlpha(255);
    painter.fillRect(rect(), background);
  }

  for (std::size_t i = 0; i < scene_.cells.size(); ++i) {
    const PanelCell& cell = scene_.cells[i];
    const QRectF frame = cellRect(int(i));
    QPainterPath shape;
    shape.addRoundedRect(frame, cell.cornerRadius, cell.cornerRadius);

    painter.save();
    painter.setClipPath(shape, Qt::IntersectClip);
    painter.fillPath(shape, toQColor(cell.background, palette()));
    const FlippedSpace inCell = FlippedSpace::inside(frame);
    if (cell.digit) drawLabel(painter, *cell.digit, inCell.toQt(cell.digit->frame), palette());
    if (cell.wordArea) painter.setClipRect(inCell.toQt(*cell.wordArea), Qt::IntersectClip);
    drawLabel(painter, cell.word, inCell.toQt(cell.word.frame).translated(wordOffsets_[i], 0),
              palette());
    painter.restore();
  }
}

void PanelWidget::mousePressEvent(QMouseEvent* event) {
  event->accept();
  const int cell = cellAt(event->position());
  if (cell < 0 || !onClick_) return;
  // A copy, so a handler that replaces itself finishes running.
  const auto handler = onClick_;
  handler(cell);
}

QtPanelWindow::QtPanelWindow(std::function<bool()> translucencyAvailable)
    : widget_(std::make_unique<PanelWidget>()),
      translucencyAvailable_(std::move(translucencyAvailable)) {}

QtPanelWindow::~QtPanelWindow() = default;

void QtPanelWindow::show(const PanelScene& scene) {
  if (!widget_->isVisible() && translucencyAvailable_)
    widget_->setTranslucent(translucencyAvailable_());
  widget_->setScene(scene);
  if (!widget_->isVisible()) widget_->show();
}

void QtPanelWindow::hide() {
  widget_->hide();
}

bool QtPanelWindow::isVisible() const {
  return widget_->isVisible();
}

void QtPanelWindow::setWordOffset(int cellIndex, double offset) {
  widget_->setWordOffset(cellIndex, offset);
}

void QtPanelWindow::setClickHandler(std::function<void(int cellIndex)> handler) {
  widget_->setClickHandler(std::move(handler));
}

QImage QtPanelWindow::render() const {
  return widget_->grab().toImage();
}

}  // namespace ornav::linux_platform
