// One headless session: one client, one controller, one candidate panel, driven by protocol lines.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/application.h"
#include "core/controller_environment.h"
#include "core/ornav_input_controller.h"
#include "session_client.h"
#include "session_display.h"
#include "session_panel.h"
#include "session_protocol.h"

namespace ornav::session {

// What a session is made of besides its client and panel.
struct SessionSetup {
  // The process's application: key map, log, crash notes and the engine's directories.
  Application* app = nullptr;
  ControllerServices* services = nullptr;
  // Runs the main queue's pending work (the controller's deferred steps) after every event.
  std::function<void()> drainMainQueue;
  // The displays the panel is placed on; the first is the main one.
  std::vector<Screen> screens = defaultSessionScreens();
};

// Dialogs have no place in a headless session: the notices are skipped and consent is declined.
class SessionMenuUI : public NoMenuUI {
 public:
  void confirmUploadConsent(std::function<void(bool)> answer) override;

  MainQueue* mainQueue = nullptr;
};

class Session {
 public:
  explicit Session(SessionSetup setup);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The output line for one input line (without its line feed); nothing for a blank line. A line
  // that is not an event still answers with the unchanged state (handled null) and an error text
  // in `error`, so every event line gets exactly one answer.
  std::optional<std::string> handleLine(std::string_view line, std::string* error = nullptr);

  // The same, for an event already parsed.
  SessionState apply(const SessionEvent& event);
  SessionState state(std::optional<bool> handled) const;

  bool hasEngine() const { return controller_->hasEngine(); }
  const SessionClient& client() const { return client_; }

 private:
  SessionSetup setup_;
  SessionMenuUI menuUI_;
  SessionClient client_;
  // The panel's deterministic display; it outlives the controller and its panel.
  SessionTextMeasurer measurer_;
  SessionScreens screens_;
  SessionWindowSystem windows_;
  SessionPanel* panel_ = nullptr;  // owned by the controller, made on its first use
  std::shared_ptr<ControllerEnvironment> env_;
  std::shared_ptr<OrnavInputController> controller_;
};

}  // namespace ornav::session
