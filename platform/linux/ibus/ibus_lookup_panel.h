// The candidate panel as IBus's own lookup table, for sessions where the engine cannot place a
// window under the caret (Wayland): a horizontal list of pages of five, labelled 1 to 5, each page
// one row of the grid, the cursor on the highlighted candidate. The grid's rules stay the
// controller's; this only shows what the controller asks for and reports clicks back.
#pragma once

#include <functional>
#include <memory>

#include "core/candidate_pages.h"
#include "core/candidate_panel_interface.h"

namespace ornav::linux_platform {

class IBusContextClient;

class IBusLookupPanel : public CandidatePanelInterface {
 public:
  // `client` is the context the panel's controller serves.
  explicit IBusLookupPanel(std::shared_ptr<IBusContextClient> client);
  ~IBusLookupPanel() override;

  void update(const PanelContent& content, const Rect& near) override;
  void hide() override;
  bool isVisible() const override { return visible_; }
  void setOnPick(std::function<void(int)> onPick) override { onPick_ = std::move(onPick); }

  // A click on the candidate at `indexInPage` of the page shown.
  void clicked(int indexInPage);

 private:
  void show();

  std::shared_ptr<IBusContextClient> client_;
  CandidatePages pages_;
  bool visible_ = false;
  std::function<void(int)> onPick_;
};

}  // namespace ornav::linux_platform
