// Everything a process shows, built over its Application: the dialogs (MenuUI over the
// application's window ports and the update service), a candidate panel for every input controller,
// and the environment the controllers share. Both hosts (the Linux program and the macOS entry)
// build one right after the Application, so they wire the same parts the same way.
#pragma once

#include <functional>
#include <memory>

#include "core/application.h"
#include "core/update_service_bridge.h"
#include "dialogs/menu_ui.h"
#include "dialogs/update_service_dialog_services.h"
#include "ports/ui_types.h"

namespace ornav {

class UserInterface {
 public:
  // `app` must outlive this object; its ports must offer windows, alerts, a text measurer and a
  // main queue (the panel and the dialogs draw and wait through them).
  explicit UserInterface(Application& app);
  // The same with candidate panels of the host's own making (a host whose desktop draws the
  // candidates itself); a null `makePanel` means the Ornavel panel.
  UserInterface(Application& app,
                std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel);
  UserInterface(const UserInterface&) = delete;
  UserInterface& operator=(const UserInterface&) = delete;

  MenuUI& menuUI() { return menuUI_; }
  // The candidates' font at `size`, registered for the process on first use: the key map window
  // and a host's own text fields draw Arabic-script letters in it, as the panel does.
  Font wordFont(double size) const;
  // The one environment every input controller of the process shares.
  const std::shared_ptr<ControllerEnvironment>& controllerEnvironment() const { return env_; }

 private:
  Application& app_;
  UpdateServiceDialogServices dialogServices_;
  UpdateServiceBridge controllerServices_;
  MenuUI menuUI_;
  std::shared_ptr<ControllerEnvironment> env_;
};

}  // namespace ornav
