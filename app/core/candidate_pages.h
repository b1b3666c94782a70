// The candidate grid as a list shown one page at a time, for a toolkit's own candidate list where
// the input method cannot place a window of its own: each page is one row of the grid, so the
// page the list shows is the row that holds the highlight, and paging moves between rows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/candidate_grid.h"

namespace ornav {

struct CandidatePages {
  static constexpr int pageSize = CandidateGrid::pageSize;

  // The shown rows one after the other; a candidate's position here is its index in the grid.
  std::vector<std::string> candidates;
  // The highlighted candidate, or the first of the active row when nothing in it is highlighted.
  int cursor = 0;
  bool cursorVisible = false;

  // The grid index of the candidate at `indexInPage` on the page that holds the cursor (a click
  // in the list reports the position on its page); nothing when that page has no such candidate.
  std::optional<int> indexOnCursorPage(int indexInPage) const;
};

// What the list shows for the panel content `content`.
CandidatePages candidatePages(const PanelContent& content);

}  // namespace ornav
