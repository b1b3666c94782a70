#include "core/candidate_pages.h"

#include <algorithm>

namespace ornav {

CandidatePages candidatePages(const PanelContent& content) {
  CandidatePages pages;
  for (const auto& row : content.rows)
    pages.candidates.insert(pages.candidates.end(), row.begin(), row.end());
  if (content.activeRow >= 0 && !pages.candidates.empty()) {
    const int column = content.activeCol >= 0 ? content.activeCol : 0;
    const int last = static_cast<int>(pages.candidates.size()) - 1;
    pages.cursor = std::min(content.activeRow * CandidatePages::pageSize + column, last);
    pages.cursorVisible = content.activeCol >= 0;
  }
  return pages;
}

std::optional<int> CandidatePages::indexOnCursorPage(int indexInPage) const {
  if (indexInPage < 0 || indexInPage >= pageSize) return std::nullopt;
  const int index = cursor / pageSize * pageSize + indexInPage;
  if (index >= static_cast<int>(candidates.size())) return std::nullopt;
  return index;
}

}  // namespace ornav
