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
  Rect frame;  // in the cell's coordinates (origin bottom left); may reach past the cell
  TextDirection direction = TextDirection::natural;
  friend bool operator==(const PanelLabel&, const PanelLabel&) = default;
};

struct PanelCell {
  int globalIndex = -1;  // the candidate's index in the owner's list; -1 for the hint cell
  bool isHint = false;   // the "Tab ▾" cell, which ignores clicks
  bool dim = false;      // a row other than the active one
  bool highlighted = false;
  Rect frame;  // in the window's content coordinates (origin bottom left)
  Color background = Color::clear();
  double cornerRadius = 4;
  // Drawing is clipped to the cell's rounded rectangle, the word's also to its area.
  PanelLabel word;
  std::optional<PanelLabel> digit;
  // Where the word may show, in the cell's coordinates, beside the digit and never over it;
  // absent: the whole cell.
  std::optional<Rect> wordArea;
  friend bool operator==(const PanelCell&, const PanelCell&) = default;
};

struct PanelScene {
  Rect frame;  // the window, screen coordinates
  WindowLevel level = WindowLevel::popUpMenu;
  // The client window's level as its text client reported it (TextClient::windowLevel): where
  // that is `level` or higher, the window floats one above it.
  std::optional<int> clientWindowLevel = std::nullopt;
  Color background = Color::white(0.15, 0.96);
  double cornerRadius = 8;
  bool hasShadow = true;
  std::vector<PanelCell> cells;  // in creation order: row by row, the hint after row 0
  friend bool operator==(const PanelScene&, const PanelScene&) = default;
};

class PanelWindow {
 public:
  virtual ~PanelWindow() = default;

  // Draws `scene` and brings the window on screen without making it key or activating the
  // application.
  virtual void show(const PanelScene& scene) = 0;
  // Takes the window off screen; the last scene stays until the next show.
  virtual void hide() = 0;
  virtual bool isVisible() const = 0;
  // Moves the word of cell `cellIndex` (index into the shown scene's cells) by `offset` points
  // along x from its frame, without rebuilding anything (the marquee).
  virtual void setWordOffset(int cellIndex, double offset) = 0;
  // Called on the main thread with the index (into the scene's cells) of a cell under a
  // mouse-down.
  virtual void setClickHandler(std::function<void(int cellIndex)> handler) = 0;
};

}  // namespace ornav
