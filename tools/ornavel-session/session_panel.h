// The headless session's candidate panel: it remembers the controller's last call (the rows and
// highlight of an update, or a hide) and turns a click on a shown cell into the panel's pick.
#pragma once

#include <functional>

#include "core/candidate_panel_interface.h"

namespace ornav::session {

class SessionPanel : public CandidatePanelInterface {
 public:
  // What the panel shows now: rows empty and -1, -1, false while hidden.
  const PanelContent& content() const { return content_; }

  void update(const PanelContent& content, const Rect& near) override;
  void hide() override;
  bool isVisible() const override { return visible_; }
  void setOnPick(std::function<void(int)> onPick) override { onPick_ = std::move(onPick); }

  // A mouse-down on the cell with global index `index`: picks only while the panel is visible
  // and shows that candidate (the Tab hint, -1, ignores clicks). True when a pick was reported.
  bool click(int index);

 private:
  PanelContent content_;
  bool visible_ = false;
  std::function<void(int)> onPick_;
};

}  // namespace ornav::session
