// SEAM: the portable dialogs (app/dialogs) and candidate panel (app/panel) are not part of this
// branch yet. Until they are, the process runs without dialogs (NoMenuUI: requests are ignored and
// upload consent is never given) and with a panel that never comes on screen, so every word is
// committed as typed. When they land, makePortableUi builds MenuUI and CandidatePanel over
// app.ports() here, and this comment goes.
#import "platform/mac/portable_ui.h"

namespace ornav::mac_platform {

namespace {

class PanelNeverShown final : public CandidatePanelInterface {
 public:
  void update(const PanelContent&, const Rect&) override {}
  void hide() override {}
  bool isVisible() const override { return false; }
  void setOnPick(std::function<void(int)>) override {}
};

}  // namespace

PortableUi makePortableUi(Application&) {
  PortableUi ui;
  ui.menuUI = std::make_unique<NoMenuUI>();
  ui.makePanel = [] { return std::make_unique<PanelNeverShown>(); };
  return ui;
}

}  // namespace ornav::mac_platform
