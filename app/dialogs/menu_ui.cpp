#include "dialogs/menu_ui.h"

namespace ornav {

MenuUI::MenuUI(MenuUIPorts ports, DialogServices& services)
    : ports_(ports), services_(services), self_(std::make_shared<MenuUI*>(this)) {}

MenuUI::~MenuUI() = default;

void MenuUI::perform(DialogAction action) {
  switch (action) {
    case DialogAction::closeWelcome:
      return closeWelcome();
    case DialogAction::closeFeedback:
      return closeFeedback();
    case DialogAction::closeUpdate:
      return closeUpdateWindow();
    case DialogAction::submitFeedback:
      return submitFeedback();
    case DialogAction::openSetupGuide:
      return showSetupGuide();
    case DialogAction::openFeedbackPage:
      return openFeedbackPage();
    case DialogAction::startInAppUpdate:
      return startInAppUpdate();
    case DialogAction::about:
      return showAbout();
    case DialogAction::checkUpdate:
      return checkForUpdates();
    case DialogAction::feedback:
      return sendFeedback();
    case DialogAction::welcome:
      return showWelcome();
  }
}

MenuUI::Shown MenuUI::makeWindow(const WindowDescription& description) {
  Shown shown;
  shown.window = ports_.windows->createWindow(description);
  if (!shown.window) return shown;
  shown.build = ++builds_;
  shown.window->setActionHandler([weak = alive()](DialogAction action) {
    if (auto self = weak.lock()) (*self)->perform(action);
  });
  return shown;
}

// The input method is not the active application while the user types: without activating it,
// the window would open behind the client application's windows.
void MenuUI::present(DialogWindow& window) {
  window.show();
  ports_.windows->activateApplication();
}

DesktopFamily MenuUI::desktop() const {
  return ports_.system != nullptr ? ports_.system->desktopFamily() : DesktopFamily::macOS;
}

void MenuUI::drop(Shown& shown) {
  if (!shown) return;
  shown->close();
  std::shared_ptr<DialogWindow> retired(std::move(shown.window));
  shown.build = 0;
  if (ports_.mainQueue) ports_.mainQueue->post([retired] {});
}

int MenuUI::runAlert(const AlertDescription& alert) {
  ports_.windows->activateApplication();
  return ports_.alerts->runModal(alert);
}

void MenuUI::notice(AlertDescription::Style style, std::string message,
                    std::string informativeText) {
  runAlert(AlertDescription{std::move(message), std::move(informativeText), style, {"好"}});
}

void MenuUI::confirmUploadConsent(std::function<void(bool)> answer) {
  // The menu action that asked returns first; the alert runs as a later work item.
  ports_.mainQueue->post([weak = alive(), answer = std::move(answer)] {
    auto self = weak.lock();
    if (!self) return;
    AlertDescription alert;
    alert.style = AlertDescription::Style::informational;
    alert.message = "上传我的输入习惯";
    alert.informativeText =
        "开启后，你常用的词与使用频次会匿名上传，用于改进云端词库。上传数据不含输入的完整内容，仅含"
        "词条与次数，且与设备匿名标识关联。是否同意？";
    alert.buttons = {"同意并上传", "取消"};
    const bool agreed = (*self)->runAlert(alert) == 0;
    if (answer) answer(agreed);
  });
}

}  // namespace ornav
