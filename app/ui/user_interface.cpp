#include "ui/user_interface.h"

#include "panel/candidate_panel.h"

namespace ornav {

UserInterface::UserInterface(Application& app)
    : app_(app),
      menuUI_(MenuUIPorts{app.ports().windows, app.ports().alerts, app.ports().urlOpener,
                          app.ports().mainQueue, app.ports().bundle, app.ports().systemInfo,
                          app.ports().processes},
              dialogServices_) {
  const PanelEnvironment panelEnvironment =
      PanelEnvironment::fromPlatform(app_.ports(), app_.controllerDiagnostics().log);
  env_ = app_.makeControllerEnvironment(controllerServices_, menuUI_, [panelEnvironment] {
    return std::make_unique<CandidatePanel>(panelEnvironment);
  });
}

}  // namespace ornav
