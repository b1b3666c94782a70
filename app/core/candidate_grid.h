// The candidate grid as a plain value: the candidate list last read from the engine, whether all
// rows are shown, and the highlighted index. Every rule that turns key presses into a highlight
// or into what the panel shows lives here, so it can be tested without a client or a window.
//
// Invariants: at most pageSize x maxRows candidates are reachable; highlight stays within
// -1 ... reachable() - 1; candidate i sits in row i / pageSize, column i % pageSize.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ornav {

using CandidateRows = std::vector<std::vector<std::string>>;

// What the panel is asked to show: the rows (one row when collapsed), the active row and column
// (-1 for none) and whether the "more rows" hint is shown.
struct PanelContent {
  CandidateRows rows;
  int activeRow = -1;
  int activeCol = -1;
  bool showTabHint = false;
  // The level of the client's window when the client reports one (TextClient::windowLevel): the
  // panel floats above it.
  std::optional<int> clientWindowLevel = std::nullopt;

  bool operator==(const PanelContent&) const = default;
};

struct CandidateGrid {
  static constexpr int pageSize = 5;
  static constexpr int maxRows = 5;

  std::vector<std::string> candidates;
  bool expanded = false;
  int highlight = -1;

  // Number of candidates that can be shown or reached: min(25, count).
  int reachable() const;
  // Rows of at most pageSize candidates over the reachable candidates.
  CandidateRows grid() const;

  // A fresh candidate list: collapsed, highlight on the best candidate (or none).
  void replace(std::vector<std::string> fresh);
  // The dismiss step's part on the grid: no candidates, collapsed, nothing highlighted.
  void clear();
  // Tab: the first press opens all rows and jumps to row 2; later presses go to the first
  // candidate of the next row, wrapping.
  void tabStep();
  // Moves the highlight by a signed step, clamped to the reachable candidates. False (and
  // nothing changes) when there is nothing to highlight.
  bool moveHighlight(int delta);
  // The global index that a digit picks in the highlighted row, if that candidate exists.
  std::optional<int> indexInRow(int column) const;
  // What the panel shows for this state, or nothing when the panel is to be hidden.
  std::optional<PanelContent> panelContent() const;
};

}  // namespace ornav
