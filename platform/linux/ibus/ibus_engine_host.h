// ornavel-ibus's side of the bus: it offers the engine factory, makes the engine objects the
// daemon asks for, and gives every input context its own OrnavInputController through the process's
// InputMethodServer.
//
// IBus moves one engine object from focused context to focused context and names the context in
// each focus change (the engine is made with "has-focus-id"): the host keeps one text client per
// context path, attaches it to the engine while it has the focus, and forwards the engine's
// signals to that context's controller. A context's controller is made at its first focus; IBus
// never tells an engine that a context is gone, so the controllers of the contexts focused least
// recently are released once more than kIdleContexts wait unfocused (their composition was
// committed when the focus left them, and each activation starts afresh anyway).
#pragma once

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>

#include "core/candidate_panel_interface.h"
#include "core/input_method_server.h"
#include "platform/linux/ibus/ibus_context_client.h"

typedef struct _IBusBus IBusBus;
typedef struct _IBusFactory IBusFactory;

namespace ornav::linux_platform {

// Where the candidates are shown.
enum class CandidateWindow {
  panel,        // Ornavel's own panel under the caret (X11)
  lookupTable,  // IBus's lookup table, drawn by the desktop (Wayland)
};

class IBusEngineHost {
 public:
  static constexpr std::size_t kIdleContexts = 8;

  // `server` must outlive the host.
  IBusEngineHost(InputMethodServer& server, CandidateWindow candidates);
  ~IBusEngineHost();
  IBusEngineHost(const IBusEngineHost&) = delete;
  IBusEngineHost& operator=(const IBusEngineHost&) = delete;

  // Connects to the IBus daemon and offers the engine: under the component's bus name when the
  // daemon started the process, else by registering the component. False without a daemon.
  // `disconnected` runs when the daemon goes away.
  bool start(bool startedByDaemon, std::function<void()> disconnected);

  // A candidate panel for the controller being served now: the lookup table of its context.
  std::unique_ptr<CandidatePanelInterface> makeLookupPanel();

  CandidateWindow candidateWindow() const { return candidates_; }

 private:
  struct EngineState;
  struct Signals;
  friend struct Signals;

  IBusEngine* createEngine(const char* name);
  void focusIn(IBusEngine* engine, const std::string& path, const std::string& clientName);
  void focusOut(IBusEngine* engine);
  bool processKey(IBusEngine* engine, std::uint32_t keyval, std::uint32_t state);
  void reset(IBusEngine* engine);
  void setCaret(IBusEngine* engine, int x, int y, int width, int height);
  void candidateClicked(IBusEngine* engine, int indexInPage);
  void activateProperty(IBusEngine* engine, const std::string& key);
  void destroyed(IBusEngine* engine);
  // Registers the focused controller's menu as the engine's properties when it changed.
  void syncMenu(IBusEngine* engine, bool always);
  // The focused context of `engine` and its controller, or nulls.
  std::pair<std::shared_ptr<IBusContextClient>, std::shared_ptr<OrnavInputController>> focused(
      IBusEngine* engine);
  void releaseIdleContexts();

  InputMethodServer& server_;
  CandidateWindow candidates_;
  IBusBus* bus_ = nullptr;
  IBusFactory* factory_ = nullptr;
  std::function<void()> disconnected_;
  std::map<IBusEngine*, std::unique_ptr<EngineState>> engines_;
  std::map<std::string, std::shared_ptr<IBusContextClient>> contexts_;
  std::list<std::string> idle_;                 // unfocused contexts, least recently focused first
  std::shared_ptr<IBusContextClient> serving_;  // the context whose controller is being called
  unsigned engineCount_ = 0;
};

}  // namespace ornav::linux_platform
