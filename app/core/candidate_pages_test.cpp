#include "core/candidate_pages.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

CandidateRows rows(int count) {
  CandidateRows out;
  for (int i = 0; i < count; ++i) {
    if (i % CandidateGrid::pageSize == 0) out.emplace_back();
    out.back().push_back("w" + std::to_string(i));
  }
  return out;
}

TEST(CandidatePages, ThePageShownIsTheRowOfTheHighlight) {
  struct Row {
    int count, activeRow, activeCol;
    int cursor;
    bool cursorVisible;
    int click;  // position on the page clicked
    std::optional<int> picked;
  };
  const Row table[] = {
      {7, 0, 0, 0, true, 4, 4},                // collapsed: the first row
      {12, 1, 2, 7, true, 0, 5},               // the second row after Tab or Down
      {12, 2, 1, 11, true, 1, 11},             // the last, short row
      {12, 2, 1, 11, true, 2, std::nullopt},   // beyond the short row's end
      {12, 1, -1, 5, false, 0, 5},             // a row shown without a highlight in it
      {3, 0, 0, 0, true, 5, std::nullopt},     // not a position on a page
      {0, -1, -1, 0, false, 0, std::nullopt},  // nothing shown
  };
  for (const Row& row : table) {
    SCOPED_TRACE(testing::Message() << row.count << " candidates, row " << row.activeRow);
    const CandidatePages pages =
        candidatePages(PanelContent{rows(row.count), row.activeRow, row.activeCol, false});
    EXPECT_EQ(pages.candidates.size(), static_cast<std::size_t>(row.count));
    EXPECT_EQ(pages.cursor, row.cursor);
    EXPECT_EQ(pages.cursorVisible, row.cursorVisible);
    EXPECT_EQ(pages.indexOnCursorPage(row.click), row.picked);
  }
}

}  // namespace
}  // namespace ornav
