// What the input controller needs of its candidate panel: show rows of candidates next to a
// rectangle, hide, say whether it is on screen, and report a click on a candidate. The window
// itself (layout, fonts, placement) belongs to the panel; the controller only decides what to show.
#pragma once

#include <functional>

#include "core/candidate_grid.h"
#include "ports/geometry.h"

namespace ornav {

class CandidatePanelInterface {
 public:
  virtual ~CandidatePanelInterface() = default;

  // Shows the rows of `content` (each at most CandidateGrid::pageSize words, best first) near the
  // screen rectangle `near`; activeRow/activeCol are -1 for none. Empty rows hide the panel.
  virtual void update(const PanelContent& content, const Rect& near) = 0;
  virtual void hide() = 0;
  virtual bool isVisible() const = 0;
  // Called with the global index (row x pageSize + column) of a clicked candidate.
  virtual void setOnPick(std::function<void(int)> onPick) = 0;
};

}  // namespace ornav
