// The candidate panel's window. The portable panel computes the whole picture as a value (window
// frame, cells, labels, colours); the platform only draws it in a borderless, non-activating
// floating window that never takes the keyboard focus, and reports clicks.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ports/geometry.h"
#include "ports/ui_types.h"

namespace ornav {

struct PanelLabel {
  std::string text;
  Font font;
  Color color;
  Rect frame;  // in the cell's coordinates (origin bottom left)
  friend bool operator==(const PanelLabel&, const PanelLabel&) = default;
};

struct PanelCell {
  Rect frame;  // in the window's content coordinates
  Color background = Color::clear();
  double cornerRadius = 4;
  // Drawing is clipped to the cell's rounded rectangle; later labels draw over earlier ones.
  PanelLabel word;
  std::optional<PanelLabel> digit;
  friend bool operator==(const PanelCell&, const PanelCell&) = default;
};

struct PanelScene {
  Rect frame;  // the window, screen coordinates
  int level = 101;
  Color background = Color::white(0.15, 0.96);
  double cornerRadius = 8;
  bool hasShadow = true;
  std::vector<PanelCell> cells;
  friend bool operator==(const PanelScene&, const PanelScene&) = default;
};

class PanelWindow {
 public:
  virtual ~PanelWindow() = default;

  // Draws `scene` and brings the window on screen without making it key.
  virtual void show(const PanelScene& scene) = 0;
  // Takes the window off screen; the last scene stays until the next show.
  virtual void hide() = 0;
  virtual bool isVisible() const = 0;
  // Moves the word of cell `cellIndex` (index into the shown scene's cells) by `offset` points
  // along x from its frame, without rebuilding anything (the marquee).
  virtual void setWordOffset(int cellIndex, double offset) = 0;
  // Called on the main thread with the index of the cell under a mouse-down.
  virtual void setClickHandler(std::function<void(int cellIndex)> handler) = 0;
};

}  // namespace ornav
