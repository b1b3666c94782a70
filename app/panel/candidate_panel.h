// The candidate panel: the small floating window of candidate words next to the caret. The owner
// (an input controller) decides what to show; the panel builds the cells, lays them out right to
// left, sizes and places the window, hands the whole picture to its PanelWindow as a PanelScene,
// turns clicks on cells into the owner's onPick, and runs the marquee of a highlighted word too
// wide for its cell. It never takes the keyboard focus: its window never becomes key.
//
// One collapsed row sizes each cell to its texts; two or more rows (the expanded grid) give every
// candidate cell the width 96. The cell in row r, column c stands for candidate r × 5 + c.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/candidate_grid.h"
#include "core/candidate_panel_interface.h"
#include "panel/candidate_item_view.h"
#include "panel/panel_environment.h"
#include "ports/panel_window.h"

namespace ornav {

class CandidatePanel : public CandidatePanelInterface {
 public:
  static constexpr int pageSize = CandidateGrid::pageSize;
  static constexpr int maxRows = CandidateGrid::maxRows;
  static constexpr double kWordPointSize = 18;
  static constexpr double kHintPointSize = 11;
  static constexpr const char* kHintText = "Tab ▾";

  // Makes the window (off screen) and loads the word font; the environment's required ports must
  // outlive the panel.
  explicit CandidatePanel(PanelEnvironment env);
  ~CandidatePanel() override;
  CandidatePanel(const CandidatePanel&) = delete;
  CandidatePanel& operator=(const CandidatePanel&) = delete;

  // Rebuilds every cell from `rows` (each at most pageSize words, best first), sizes the window to
  // them, places it next to `near` (screen coordinates) and shows it. `activeRow` carries the
  // digits and full-strength words, `activeCol` the highlight within it (-1 for none);
  // `showTabHint` adds the "Tab ▾" cell at the left end of the first row. Empty rows hide the
  // window and leave everything else as it is.
  void update(const CandidateRows& rows, int activeRow, int activeCol, bool showTabHint,
              const Rect& near);
  void update(const PanelContent& content, const Rect& near) override;
  // Stops the marquee and takes the window off screen; the cells stay until the next update.
  void hide() override;
  bool isVisible() const override;
  void setOnPick(std::function<void(int)> onPick) override { onPick_ = std::move(onPick); }

  const Font& wordFont() const { return wordFont_; }
  const Font& hintFont() const { return hintFont_; }
  // The cells shown now, in creation order (row by row, the hint after the candidates of row 0).
  const std::vector<std::unique_ptr<CandidateItemView>>& itemViews() const { return itemViews_; }
  // The highlighted cell, or null.
  const CandidateItemView* highlightedItem() const;
  // The picture last handed to the window.
  const PanelScene& scene() const { return scene_; }

 private:
  // Lets callbacks held by the window and the cells reach the panel only while it lives.
  struct Anchor {
    CandidatePanel* panel;
  };

  void discardCells();
  void clickCell(int cellIndex);
  void pick(int globalIndex);
  void stopHighlightedScroll();

  PanelEnvironment env_;
  std::function<void(int)> onPick_;
  std::unique_ptr<PanelWindow> window_;
  Font wordFont_;
  Font hintFont_;
  PanelScene scene_;
  std::shared_ptr<Anchor> anchor_;
  // Declared after the window: the cells (and their marquee callbacks into the window) go first.
  std::vector<std::unique_ptr<CandidateItemView>> itemViews_;
  std::optional<std::size_t> highlightedItem_;  // index into itemViews_
};

}  // namespace ornav
