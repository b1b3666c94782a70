// Where the macOS process makes the portable user interface that sits above the core: the dialogs
// (MenuUI, behind MenuUIInterface) and a factory of candidate panels (behind
// CandidatePanelInterface), both built on the ports of the application.
#pragma once

#include <functional>
#include <memory>

#include "core/application.h"
#include "core/candidate_panel_interface.h"
#include "core/menu_ui_interface.h"

namespace ornav::mac_platform {

struct PortableUi {
  std::unique_ptr<MenuUIInterface> menuUI;
  std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel;
};

// The parts live as long as the returned value; `app` must outlive it.
PortableUi makePortableUi(Application& app);

}  // namespace ornav::mac_platform
