// Composition, commit and candidate selection: the operations that show the engine's buffer as
// marked text, commit text into the client, pick candidates and feed the candidate panel.
// Before each step that changes what the client shows, a crash-reporter stage says what the
// controller was doing and in which application.
#include <string>
#include <utility>

#include "base/text.h"
#include "core/ornav_input_controller.h"

namespace ornav {

namespace {

constexpr TextRange kCurrentSelection{TextRange::kNotFound, 0};

std::string decimal(std::size_t n) {
  return std::to_string(n);
}

// Underlined, right-to-left text, as the composition of an Arabic-script word is drawn.
MarkedText composingText(const std::string& buffer) {
  MarkedText marked;
  marked.text = buffer;
  marked.underline = UnderlineStyle::single;
  marked.paragraphDirection = WritingDirection::rightToLeft;
  marked.paragraphAlignment = TextAlignment::right;
  marked.embeddingDirection = WritingDirection::rightToLeft;
  return marked;
}

}  // namespace

std::shared_ptr<OrnavInputController> OrnavInputController::create(
    std::shared_ptr<ControllerEnvironment> env, TextClient* client) {
  return std::shared_ptr<OrnavInputController>(new OrnavInputController(std::move(env), client));
}

OrnavInputController::OrnavInputController(std::shared_ptr<ControllerEnvironment> env,
                                           TextClient* client)
    : env_(std::move(env)), client_(client) {
  if (env_->makeEngine) engine_ = env_->makeEngine();
  log("InputController 被实例化");
}

OrnavInputController::~OrnavInputController() = default;

std::string OrnavInputController::host(TextClient* client) {
  if (client == nullptr) return {};
  return client->bundleIdentifier().value_or("");
}

void OrnavInputController::noteStage(const std::string& stage, StageDetails details) const {
  if (env_->diagnostics.noteStage) env_->diagnostics.noteStage(stage, details);
}

void OrnavInputController::log(const std::string& message) const {
  if (env_->diagnostics.log) env_->diagnostics.log(message);
}

CandidatePanelInterface& OrnavInputController::panel() {
  if (!panel_) {
    panel_ = env_->makePanel();
    std::weak_ptr<OrnavInputController> weak = weak_from_this();
    panel_->setOnPick([weak](int index) {
      auto self = weak.lock();
      if (!self) return;
      TextClient* client = self->client();
      if (client == nullptr) return;
      self->pickCandidate(index, client);
    });
  }
  return *panel_;
}

bool OrnavInputController::panelIsVisible() {
  return panel_ && panel_->isVisible();
}

void OrnavInputController::commitComposing(TextClient* client) {
  if (!engine_) return;
  const std::string buffer = engine_->buffer();
  if (!buffer.empty()) {
    noteStage("commit-composing",
              {{"host", host(client)}, {"bufferLength", decimal(graphemeCount(buffer))}});
    insert(engine_->commitRaw(), client);
    composing_.clear();
    clearMarkedText(client);
  }
  // What follows reaches the client (a shortcut, punctuation, a click elsewhere) and ends the
  // word: predictions left up for it would catch the next Space or digit, and the next word does
  // not follow this one.
  dismiss();
}

bool OrnavInputController::predictionsShown() const {
  return env_->services == nullptr || env_->services->showPredictions();
}

void OrnavInputController::clearMarkedText(TextClient* client) {
  if (client == nullptr) return;
  noteStage("marked-text-clear", {{"host", host(client)}});
  client->setMarkedText(MarkedText{}, TextRange{0, 0}, kCurrentSelection);
}

void OrnavInputController::insert(const std::string& text, TextClient* client) {
  if (text.empty() || client == nullptr) return;
  noteStage("insert-text", {{"host", host(client)}, {"length", decimal(graphemeCount(text))}});
  client->insertText(text, kCurrentSelection);
}

void OrnavInputController::updateUI(TextClient* client) {
  if (!engine_) return;
  composing_ = engine_->buffer();
  if (client != nullptr) {
    if (!composing_.empty()) {
      const std::size_t length = graphemeCount(composing_);
      noteStage("marked-text-set", {{"host", host(client)}, {"bufferLength", decimal(length)}});
      client->setMarkedText(composingText(composing_),
                            TextRange{static_cast<std::int64_t>(length), 0}, kCurrentSelection);
    } else {
      clearMarkedText(client);
    }
  }
  // With predictions switched off an empty buffer shows nothing; the engine keeps the word just
  // picked as its context, so the next word is still ranked after it.
  if (composing_.empty() && !predictionsShown()) {
    grid_.clear();
  } else {
    grid_.replace(engine_->candidates());
  }
  refreshPanel(client);
}

void OrnavInputController::refreshPanel(TextClient* client) {
  const std::optional<PanelContent> content = grid_.panelContent();
  if (!content) {
    if (panel_) panel_->hide();
    return;
  }
  noteStage("panel-refresh", {{"host", host(client)},
                              {"count", decimal(grid_.candidates.size())},
                              {"expanded", grid_.expanded ? "1" : "0"},
                              {"highlight", std::to_string(grid_.highlight)}});
  const Rect near = cursorRect(client);
  PanelContent shown = *content;
  if (client != nullptr) shown.clientWindowLevel = client->windowLevel();
  panel().update(shown, near);
}

void OrnavInputController::moveHighlight(int delta, TextClient* client) {
  if (grid_.moveHighlight(delta)) refreshPanel(client);
}

void OrnavInputController::pickCandidate(int index, TextClient* client) {
  if (!engine_) return;
  // A negative index names no candidate; the engine answers "" for it like for any index past
  // the end.
  const std::size_t engineIndex = index < 0 ? SIZE_MAX : static_cast<std::size_t>(index);
  const std::string word = engine_->select(engineIndex);
  noteStage("select-candidate", {{"host", host(client)},
                                 {"index", std::to_string(index)},
                                 {"textLength", decimal(graphemeCount(word))}});
  insert(word + " ", client);
  updateUI(client);
}

void OrnavInputController::pickInRow(int column, TextClient* client) {
  if (auto index = grid_.indexInRow(column)) pickCandidate(*index, client);
}

bool OrnavInputController::directInsert(const KeyEvent& event, TextClient* client) {
  if (!event.characters || event.characters->empty() || client == nullptr) return false;
  const std::string& typed = *event.characters;
  if (env_->keyMap == nullptr) return false;
  std::optional<std::string> text = env_->keyMap->extras().punctuationText(typed);
  if (!text) text = env_->keyMap->map(typed);
  if (!text) return false;
  noteStage("direct-insert", {{"host", host(client)},
                              {"length", decimal(graphemeCount(*text))},
                              {"keyCode", std::to_string(event.keyCode)}});
  client->insertText(*text, kCurrentSelection);
  return true;
}

Rect OrnavInputController::cursorRect(TextClient* client) {
  noteStage("cursor-rect", {{"host", host(client)}, {"index", "0"}});
  if (client == nullptr) return Rect{};
  return client->lineRectAt(0).value_or(Rect{});
}

}  // namespace ornav
