#include "session.h"

#include <utility>

namespace ornav::session {

void SessionMenuUI::confirmUploadConsent(std::function<void(bool)> answer) {
  // Answered later, like an alert, and always "no": a session never uploads.
  if (mainQueue != nullptr) mainQueue->post([answer = std::move(answer)] { answer(false); });
}

Session::Session(SessionSetup setup) : setup_(std::move(setup)), screens_(setup_.screens) {
  menuUI_.mainQueue = setup_.app->ports().mainQueue;
  env_ = setup_.app->makeControllerEnvironment(
      *setup_.services, menuUI_, [this]() -> std::unique_ptr<CandidatePanelInterface> {
        // The real panel over the session's display; its marquee runs on the process's main
        // queue, its font comes from the bundle and its log line goes to the process's log.
        PanelEnvironment env;
        env.textMeasurer = &measurer_;
        env.screens = &screens_;
        env.mainQueue = setup_.app->ports().mainQueue;
        env.bundle = setup_.app->ports().bundle;
        env.log = setup_.app->controllerDiagnostics().log;
        auto panel = std::make_unique<SessionPanel>(std::move(env), windows_);
        panel_ = panel.get();
        return panel;
      });
  controller_ = OrnavInputController::create(env_, &client_);
}

Session::~Session() {
  controller_.reset();
  env_.reset();
}

SessionState Session::state(std::optional<bool> handled) const {
  SessionState state;
  state.handled = handled;
  state.document = client_.document();
  state.marked = client_.marked();
  state.selection = client_.selection();
  if (panel_ != nullptr) {
    state.panelVisible = panel_->isVisible();
    state.panel = panel_->content();
    const SessionPanelWindow& window = panel_->window();
    if (window.isVisible()) {
      state.window = window.scene().frame;
      for (const PanelCell& cell : window.scene().cells) {
        state.cells.push_back(SessionCell{cell.globalIndex, cell.word.text,
                                          cell.digit ? cell.digit->text : std::string(), cell.dim,
                                          cell.highlighted, cell.frame});
      }
    }
  }
  return state;
}

SessionState Session::apply(const SessionEvent& event) {
  std::optional<bool> handled;
  if (std::holds_alternative<ActivateEvent>(event)) {
    controller_->activateServer(&client_);
  } else if (std::holds_alternative<DeactivateEvent>(event)) {
    controller_->deactivateServer(&client_);
  } else if (const auto* key = std::get_if<KeyEvent>(&event)) {
    handled = controller_->handle(key, &client_);
    if (!*handled) client_.applyUnhandledKey(*key);
  } else if (const auto* click = std::get_if<ClickEvent>(&event)) {
    if (panel_ != nullptr) panel_->click(click->index);
  } else if (const auto* caret = std::get_if<CaretEvent>(&event)) {
    // Read by the panel at its next update; what is shown now stays.
    client_.setLineRect(caret->rect);
  } else if (const auto* menu = std::get_if<MenuEvent>(&event)) {
    // The menu as the controller describes it now; a title it does not show does nothing.
    for (const MenuItem& item : controller_->menu().items) {
      if (item.action && item.title == menu->item) {
        controller_->perform(*item.action);
        break;
      }
    }
  }
  if (setup_.drainMainQueue) setup_.drainMainQueue();
  return state(handled);
}

std::optional<std::string> Session::handleLine(std::string_view line, std::string* error) {
  if (line.find_first_not_of(" \t\r\n") == std::string_view::npos) return std::nullopt;
  ParsedEvent parsed = parseEventLine(line);
  if (!parsed.event) {
    if (error != nullptr) *error = parsed.error;
    return formatState(state(std::nullopt));
  }
  return formatState(apply(*parsed.event));
}

}  // namespace ornav::session
