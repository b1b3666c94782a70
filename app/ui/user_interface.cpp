#include "ui/user_interface.h"

#include "panel/candidate_panel.h"
#include "panel/word_font.h"

namespace ornav {

UserInterface::UserInterface(Application& app) : UserInterface(app, nullptr) {}

UserInterface::UserInterface(Application& app,
                             std::function<std::unique_ptr<CandidatePanelInterface>()> makePanel)
    : app_(app),
      menuUI_(MenuUIPorts{app.ports().windows, app.ports().alerts, app.ports().urlOpener,
                          app.ports().mainQueue, app.ports().bundle, app.ports().systemInfo,
                          app.ports().processes, [this](double size) { return wordFont(size); }},
              dialogServices_) {
  const PanelEnvironment panelEnvironment =
      PanelEnvironment::fromPlatform(app_.ports(), app_.controllerDiagnostics().log);
  if (!makePanel) {
    makePanel = [panelEnvironment] { return std::make_unique<CandidatePanel>(panelEnvironment); };
  }
  env_ = app_.makeControllerEnvironment(controllerServices_, menuUI_, std::move(makePanel));
}

Font UserInterface::wordFont(double size) const {
  const Platform& ports = app_.ports();
  if (ports.textMeasurer == nullptr) return Font::system(size);
  return loadWordFont(size, ports.bundle, *ports.textMeasurer, app_.controllerDiagnostics().log);
}

}  // namespace ornav
