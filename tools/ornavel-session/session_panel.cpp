#include "session_panel.h"

namespace ornav::session {

void SessionPanel::update(const PanelContent& content, const Rect&) {
  if (content.rows.empty()) {
    hide();
    return;
  }
  content_ = content;
  visible_ = true;
}

void SessionPanel::hide() {
  content_ = PanelContent{};
  visible_ = false;
}

bool SessionPanel::click(int index) {
  if (!visible_ || index < 0) return false;
  const auto row = static_cast<std::size_t>(index / CandidateGrid::pageSize);
  const auto column = static_cast<std::size_t>(index % CandidateGrid::pageSize);
  if (row >= content_.rows.size() || column >= content_.rows[row].size()) return false;
  // The panel is shown from the controller's own state; a pick may replace this panel's content.
  if (onPick_) {
    auto pick = onPick_;
    pick(index);
  }
  return true;
}

}  // namespace ornav::session
