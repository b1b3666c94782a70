// OrnavInputController: one per client text field. It turns key events into composition
// (marked text), candidates (the panel) and committed text, owns its engine and its panel, and
// answers activation, deactivation and the input menu.
//
// The controller's work is split by concern:
//   ornav_input_controller_keys.cpp         handle(): the key decision table, bootstrap
//   ornav_input_controller_letters.cpp      letters and Backspace inside a word (word_spelling.h)
//   ornav_input_controller_composition.cpp  marked text, commits, picks, highlight, panel
//   ornav_input_controller_lifecycle.cpp    activation, deactivation, menu, uploads, cloud sync
//
// Everything runs on the main thread. Controllers are shared_ptr-owned so that the panel's click
// callback, the consent alert and the upload timer can hold them weakly. State that is one per
// process (the cloud bootstrap flag, the upload timer and its owner) lives in the environment that
// all controllers of the process share.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/candidate_grid.h"
#include "core/controller_environment.h"
#include "core/word_spelling.h"
#include "ports/input_menu.h"
#include "ports/key_event.h"
#include "ports/text_client.h"

namespace ornav {

class OrnavInputController : public std::enable_shared_from_this<OrnavInputController> {
 public:
  // The only way a controller is made (init(server:delegate:client:)): creates its engine (none
  // on failure: direct-insertion mode) and logs the instantiation. `client` is the text field the
  // controller serves; it must outlive the controller or be cleared with setClient(nullptr).
  static std::shared_ptr<OrnavInputController> create(std::shared_ptr<ControllerEnvironment> env,
                                                      TextClient* client);
  ~OrnavInputController();
  OrnavInputController(const OrnavInputController&) = delete;
  OrnavInputController& operator=(const OrnavInputController&) = delete;

  // ---- key handling -------------------------------------------------------------------------
  // True when the event was consumed; false lets it through to the client.
  bool handle(const KeyEvent* event, TextClient* client);

  // ---- composition, commit and candidate selection -------------------------------------------
  void commitComposing(TextClient* client);
  void insert(const std::string& text, TextClient* client);
  void updateUI(TextClient* client);
  void refreshPanel(TextClient* client);
  void moveHighlight(int delta, TextClient* client);
  void pickCandidate(int index, TextClient* client);
  void pickInRow(int column, TextClient* client);
  bool directInsert(const KeyEvent& event, TextClient* client);
  Rect cursorRect(TextClient* client);
  CandidateRows grid() const { return grid_.grid(); }

  // ---- lifecycle and menu --------------------------------------------------------------------
  void activateServer(TextClient* client);
  void deactivateServer(TextClient* client);
  // A new description on every call, so titles and check marks show the current settings.
  MenuDescription menu() const;
  // Runs the action of a menu item.
  void perform(InputMenuAction action);
  void showWelcomeEntry();
  void showKeyMap();
  void showAbout();
  void toggleOnlineDict();
  void toggleUploadConsent();
  void checkUpdate();
  void sendFeedback();
  void togglePredictions();
  void uploadUserDict(bool force);

  // ---- state, for the platform and for tests -----------------------------------------------
  TextClient* client() const { return client_; }
  void setClient(TextClient* client) { client_ = client; }
  bool hasEngine() const { return engine_ != nullptr; }
  OrnavEngine* engine() const { return engine_.get(); }
  const CandidateGrid& candidateGrid() const { return grid_; }

 private:
  OrnavInputController(std::shared_ptr<ControllerEnvironment> env, TextClient* client);

  CandidatePanelInterface& panel();
  bool panelIsVisible();
  void dismiss();
  void clearMarkedText(TextClient* client);
  bool predictionsShown() const;
  void bootstrapIfNeeded();
  // A letter key: its edit of the composition through the engine; false (the word committed)
  // when the key map has nothing for it.
  bool typeLetter(const KeyMap& keys, const std::string& typed, TextClient* client);
  // Backspace with a composition: takes back the last key, or else one letter.
  void takeBackLetter(TextClient* client);
  void applySpelling(const SpellingEdit& edit, TextClient* client);
  void toggleUlyLayout();
  void ensureUserDictUploadTimer();
  void noteStage(const std::string& stage, StageDetails details) const;
  void log(const std::string& message) const;
  static std::string host(TextClient* client);
  // The completion of a cloud fetch, bound to this controller's engine.
  std::function<void(std::optional<FetchedCloudDict>)> syncCloudDictCompletion();

  std::shared_ptr<ControllerEnvironment> env_;
  TextClient* client_;
  std::shared_ptr<OrnavEngine> engine_;             // shared with in-flight cloud merges
  std::unique_ptr<CandidatePanelInterface> panel_;  // made on first use
  CandidateGrid grid_;
  // The engine's buffer as the last updateUI read it: what the client shows as marked text.
  std::string composing_;
  // The keys of the word being composed.
  WordSpelling spelling_;
};

// Merges a fetched cloud dictionary into `engine` and stores its version when the merge worked.
void syncCloudDict(OrnavEngine& engine, const std::optional<FetchedCloudDict>& result,
                   ControllerServices& services, const ControllerDiagnostics& diagnostics);

}  // namespace ornav
