// The headless session's candidate panel: the real portable panel, drawn into the session's
// recording window, plus a note of the controller's last call (the rows and highlight of an
// update, or a hide) for the answer's "panel" member.
#pragma once

#include <functional>

#include "core/candidate_panel_interface.h"
#include "panel/candidate_panel.h"
#include "session_display.h"

namespace ornav::session {

class SessionPanel : public CandidatePanelInterface {
 public:
  // The panel draws into a window of `windows` (whatever `env.windows` says).
  SessionPanel(PanelEnvironment env, SessionWindowSystem& windows);

  // The controller's last call: rows empty and -1, -1, false while hidden.
  const PanelContent& content() const { return content_; }
  // The window as drawn: its last picture, and whether it is on screen.
  const SessionPanelWindow& window() const { return *window_; }

  void update(const PanelContent& content, const Rect& near) override;
  void hide() override;
  bool isVisible() const override { return panel_.isVisible(); }
  void setOnPick(std::function<void(int)> onPick) override { panel_.setOnPick(std::move(onPick)); }

  // A mouse-down on the shown cell with global index `index` (the Tab hint, -1, ignores clicks).
  // False when the panel is hidden or shows no such cell.
  bool click(int index) { return window_->clickCellWithIndex(index); }

 private:
  CandidatePanel panel_;
  SessionPanelWindow* window_;
  PanelContent content_;
};

}  // namespace ornav::session
