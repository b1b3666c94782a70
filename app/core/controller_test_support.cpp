#include "core/controller_test_support.h"

#include <cstdlib>
#include <cstring>

namespace ornav::controller_testing {

namespace {

FakeEngineState* g_state = nullptr;
// Any non-null pointer serves as the handle; the fake keeps its state in g_state.
OrnEngine* const kHandle = reinterpret_cast<OrnEngine*>(0x1);

char* give(const std::string& text) {
  if (g_state->nullResults) return nullptr;
  char* out = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(out, text.c_str(), text.size() + 1);
  ++g_state->stringsAllocated;
  return out;
}

std::string join(const std::vector<std::string>& words) {
  std::string out;
  for (std::size_t i = 0; i < words.size(); ++i)
    out += (i ? "\n" : "") + words[i];
  return out;
}

OrnEngine* fakeNew(const char* dictDir, const char* userDir) {
  g_state->lastDictDir = dictDir;
  g_state->lastUserDir = userDir ? std::optional<std::string>(userDir) : std::nullopt;
  if (g_state->failCreation) return nullptr;
  ++g_state->enginesCreated;
  return kHandle;
}
void fakeFree(OrnEngine*) {
  ++g_state->enginesFreed;
}
void fakeInput(OrnEngine*, const char* text) {
  g_state->buffer += text;
}
int32_t fakeBackspace(OrnEngine*) {
  std::string& b = g_state->buffer;
  if (b.empty()) return 0;
  std::size_t cut = b.size() - 1;
  while (cut > 0 && (static_cast<unsigned char>(b[cut]) & 0xC0) == 0x80)
    --cut;
  b.erase(cut);
  return b.empty() ? 0 : 1;
}
char* fakeBuffer(OrnEngine*) {
  ++g_state->bufferReads;
  return give(g_state->buffer);
}
char* fakeCandidates(OrnEngine*) {
  ++g_state->candidateReads;
  return give(join(g_state->candidates()));
}
char* fakeSelect(OrnEngine*, size_t index) {
  const auto candidates = g_state->candidates();
  if (index >= candidates.size()) return give("");
  const std::string word = candidates[index];
  ++g_state->picks[word];
  g_state->buffer.clear();
  g_state->context = word;
  return give(word);
}
char* fakeCommitRaw(OrnEngine*) {
  const std::string raw = g_state->buffer;
  g_state->buffer.clear();
  g_state->context.clear();
  return give(raw);
}
void fakeReset(OrnEngine*) {
  g_state->buffer.clear();
  g_state->context.clear();
}
char* fakeExportFreq(OrnEngine*) {
  return give(g_state->userFreqExport);
}
char* fakeExportUnknown(OrnEngine*) {
  return give(g_state->userUnknownExport);
}
int32_t fakeSync(OrnEngine*, const char* tsv) {
  g_state->syncedTexts.emplace_back(tsv);
  return g_state->syncResult;
}
void fakeStringFree(char* text) {
  if (text == nullptr) return;
  ++g_state->stringsFreed;
  std::free(text);
}

}  // namespace

std::vector<std::string> FakeEngineState::candidates() const {
  std::vector<std::string> out;
  if (buffer.empty()) {
    auto it = predictions.find(context);
    if (!context.empty() && it != predictions.end()) out = it->second;
    return out;
  }
  for (const auto& word : words) {
    if (word.rfind(buffer, 0) == 0) out.push_back(word);
  }
  return out;
}

FakeEngineScope::FakeEngineScope(FakeEngineState& state) : previous_(g_state) {
  g_state = &state;
}
FakeEngineScope::~FakeEngineScope() {
  g_state = previous_;
}

const EngineApi& fakeEngineApi() {
  static const EngineApi api{fakeNew,       fakeFree,       fakeInput,         fakeBackspace,
                             fakeBuffer,    fakeCandidates, fakeSelect,        fakeCommitRaw,
                             fakeReset,     fakeExportFreq, fakeExportUnknown, fakeSync,
                             fakeStringFree};
  return api;
}

void RecordingPanel::update(const PanelContent& content, const Rect& near) {
  updates.push_back({content.rows, content.activeRow, content.activeCol, content.showTabHint, near,
                     content.clientWindowLevel});
  visible = !content.rows.empty();
}

void RecordingPanel::hide() {
  ++hides;
  visible = false;
}

ControllerFixture::ControllerFixture() {
  engineScope = std::make_unique<FakeEngineScope>(engineState);
  env = std::make_shared<ControllerEnvironment>();
  env->mainQueue = &mainQueue;
  env->services = &services;
  env->menuUI = &menuUI;
  env->keyMap = &keys;
  env->makeEngine = [this]() -> std::unique_ptr<OrnavEngine> {
    if (!withEngine) return nullptr;
    return OrnavEngine::create("/dict", std::string("/user"), fakeEngineApi());
  };
  env->makePanel = [this]() -> std::unique_ptr<CandidatePanelInterface> {
    auto panel = std::make_unique<RecordingPanel>();
    panels.push_back(panel.get());
    return panel;
  };
  env->diagnostics.log = [this](const std::string& line) { logLines.push_back(line); };
  env->diagnostics.noteStage = [this](const std::string& stage, const StageDetails& details) {
    stages.emplace_back(stage, details);
  };
  env->diagnostics.noteClientApp = [this](const std::optional<std::string>& id) {
    clientApps.push_back(id);
  };
}

ControllerFixture::~ControllerFixture() {
  // Controllers held by the test die before the engine state they point into.
  env.reset();
}

std::shared_ptr<OrnavInputController> ControllerFixture::makeController(TextClient* client) {
  return OrnavInputController::create(env, client);
}

std::vector<std::string> ControllerFixture::stageNames() const {
  std::vector<std::string> names;
  for (const auto& [name, details] : stages)
    names.push_back(name);
  return names;
}

KeyEvent keyDown(std::uint16_t keyCode, std::optional<std::string> characters,
                 std::uint64_t flags) {
  KeyEvent event;
  event.type = KeyEventType::keyDown;
  event.keyCode = keyCode;
  event.modifierFlags = flags;
  event.characters = std::move(characters);
  event.charactersIgnoringModifiers = event.characters;
  return event;
}

bool press(OrnavInputController& controller, TextClient* client, std::uint16_t keyCode,
           std::optional<std::string> characters, std::uint64_t flags) {
  const KeyEvent event = keyDown(keyCode, std::move(characters), flags);
  return controller.handle(&event, client);
}

}  // namespace ornav::controller_testing
