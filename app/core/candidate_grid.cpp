#include "core/candidate_grid.h"

#include <algorithm>

namespace ornav {

int CandidateGrid::reachable() const {
  return std::min(pageSize * maxRows, static_cast<int>(candidates.size()));
}

CandidateRows CandidateGrid::grid() const {
  CandidateRows rows;
  const int total = reachable();
  for (int start = 0; start < total; start += pageSize) {
    const int end = std::min(total, start + pageSize);
    rows.emplace_back(candidates.begin() + start, candidates.begin() + end);
  }
  return rows;
}

void CandidateGrid::replace(std::vector<std::string> fresh) {
  candidates = std::move(fresh);
  expanded = false;
  highlight = candidates.empty() ? -1 : 0;
}

void CandidateGrid::clear() {
  candidates.clear();
  expanded = false;
  highlight = -1;
}

void CandidateGrid::tabStep() {
  const int rows = static_cast<int>(grid().size());
  if (!expanded) {
    expanded = true;
    highlight = rows < 2 ? 0 : pageSize;
    return;
  }
  if (rows <= 0) return;
  const int current = highlight < 0 ? 0 : highlight / pageSize;
  const int next = (current + 1) % rows;
  highlight = std::min(next * pageSize, reachable() - 1);
}

bool CandidateGrid::moveHighlight(int delta) {
  const int total = reachable();
  if (total < 1) return false;
  const int start = highlight >= 0 ? highlight : 0;
  highlight = std::clamp(start + delta, 0, total - 1);
  if (highlight >= pageSize) expanded = true;
  return true;
}

std::optional<int> CandidateGrid::indexInRow(int column) const {
  const int row = highlight >= 0 ? highlight / pageSize : 0;
  const int index = row * pageSize + column;
  if (index >= static_cast<int>(candidates.size())) return std::nullopt;
  return index;
}

std::optional<PanelContent> CandidateGrid::panelContent() const {
  if (candidates.empty()) return std::nullopt;
  CandidateRows rows = grid();
  const int activeRow = highlight >= 0 ? highlight / pageSize : -1;
  const int activeCol = highlight >= 0 ? highlight % pageSize : -1;
  PanelContent content;
  if (!expanded) {
    if (!rows.empty()) content.rows.push_back(std::move(rows.front()));
    content.activeRow = 0;
    content.activeCol = activeRow == 0 ? activeCol : -1;
    content.showTabHint = static_cast<int>(candidates.size()) > pageSize;
  } else {
    content.rows = std::move(rows);
    content.activeRow = activeRow;
    content.activeCol = activeCol;
    content.showTabHint = false;
  }
  return content;
}

}  // namespace ornav
