#include "session_panel.h"

#include <utility>

namespace ornav::session {

namespace {

PanelEnvironment drawingInto(PanelEnvironment env, SessionWindowSystem& windows) {
  env.windows = &windows;
  return env;
}

}  // namespace

// The panel makes its one window while it is constructed, so the window made last is its own.
SessionPanel::SessionPanel(PanelEnvironment env, SessionWindowSystem& windows)
    : panel_(drawingInto(std::move(env), windows)), window_(windows.lastPanelWindow()) {}

void SessionPanel::update(const PanelContent& content, const Rect& near) {
  if (content.rows.empty()) {
    hide();
    return;
  }
  content_ = content;
  panel_.update(content, near);
}

void SessionPanel::hide() {
  content_ = PanelContent{};
  panel_.hide();
}

}  // namespace ornav::session
