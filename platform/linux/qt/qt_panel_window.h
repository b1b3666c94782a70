// The candidate panel on Qt: a frameless tool window that never takes the keyboard focus and
// never activates the application, drawing the scene the portable panel computed.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/linux/qt/window_translucency.h"
#include "ports/panel_window.h"

namespace ornav::linux_platform {

// Draws a PanelScene: the rounded background, then every cell clipped to its rounded rectangle
// (background, digit, the word clipped to its area). The scene's frames are bottom-left based; the
// widget's own height is the content height they are flipped against.
class PanelWidget : public QWidget {
 public:
  PanelWidget();

  void setScene(const PanelScene& scene);
  const PanelScene& scene() const { return scene_; }
  // Whether the window system blends the window with what is behind it. Without that the window
  // is cut to the rounded rectangle (a shape mask) and painted opaque, so no corner shows black.
  void setTranslucent(bool translucent);
  void setWordOffset(int cellIndex, double offset);
  void setClickHandler(std::function<void(int cellIndex)> handler) {
    onClick_ = std::move(handler);
  }
  // The cell under a point of the widget, or -1.
  int cellAt(const QPointF& position) const;
  // A cell's rectangle in the widget's coordinates.
  QRectF cellRect(int cellIndex) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void applyShape();

  PanelScene scene_;
  bool translucent_ = true;
  std::vector<double> wordOffsets_;  // one per cell of scene_
  std::function<void(int)> onClick_;
};

class QtPanelWindow : public PanelWindow {
 public:
  // `translucencyAvailable` is asked each time the window comes on screen.
  explicit QtPanelWindow(std::function<bool()> translucencyAvailable = windowTranslucencyAvailable);
  ~QtPanelWindow() override;
  QtPanelWindow(const QtPanelWindow&) = delete;
  QtPanelWindow& operator=(const QtPanelWindow&) = delete;

  void show(const PanelScene& scene) override;
  void hide() override;
  bool isVisible() const override;
  void setWordOffset(int cellIndex, double offset) override;
  void setClickHandler(std::function<void(int cellIndex)> handler) override;

  // The window's widget (for pictures of it and for tests).
  PanelWidget& widget() { return *widget_; }
  // The current picture, as drawn on screen.
  QImage render() const;

 private:
  std::unique_ptr<PanelWidget> widget_;
  std::function<bool()> translucencyAvailable_;
};

}  // namespace ornav::linux_platform
