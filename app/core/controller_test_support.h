// Test doubles for the input controller: an engine behind the C function table with a tiny
// deterministic dictionary, a client, a panel, a main queue, the services and the dialogs, all of
// which record what the controller asked of them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/controller_environment.h"
#include "core/ornav_input_controller.h"
#include "testing/manual_main_queue.h"
#include "testing/recording_text_client.h"

namespace ornav::controller_testing {

// A small engine with the C interface's behaviour: the buffer, prefix candidates from a word
// list (best first as listed), predictions after a pick, pick counts, raw commits.
struct FakeEngineState {
  std::vector<std::string> words;
  std::map<std::string, std::vector<std::string>> predictions;
  std::string buffer;
  std::string context;
  std::map<std::string, int> picks;
  std::string userFreqExport;
  std::string userUnknownExport;
  int32_t syncResult = 0;
  std::vector<std::string> syncedTexts;
  bool failCreation = false;
  // Bookkeeping of the boundary.
  int enginesCreated = 0;
  int enginesFreed = 0;
  int stringsAllocated = 0;
  int stringsFreed = 0;
  std::string lastDictDir;
  std::optional<std::string> lastUserDir;
  int bufferReads = 0;
  int candidateReads = 0;
  // Results to hand out as null (to check that null reads as "").
  bool nullResults = false;

  std::vector<std::string> candidates() const;
};

// Installs `state` as the engine behind fakeEngineApi() for the lifetime of the guard (scopes
// nest; the innermost state serves, so nest only fixtures without an engine).
class FakeEngineScope {
 public:
  explicit FakeEngineScope(FakeEngineState& state);
  ~FakeEngineScope();

 private:
  FakeEngineState* previous_;
};
const EngineApi& fakeEngineApi();

using RecordingClient = testing::RecordingTextClient;

class RecordingPanel : public CandidatePanelInterface {
 public:
  struct Update {
    CandidateRows rows;
    int activeRow;
    int activeCol;
    bool showTabHint;
    Rect near;
    std::optional<int> clientWindowLevel = std::nullopt;
  };
  std::vector<Update> updates;
  int hides = 0;
  bool visible = false;
  std::function<void(int)> onPick;

  void update(const PanelContent& content, const Rect& near) override;
  void hide() override;
  bool isVisible() const override { return visible; }
  void setOnPick(std::function<void(int)> pick) override { onPick = std::move(pick); }
};

class FakeServices : public ControllerServices {
 public:
  std::optional<bool> onlineDict;  // absent: never written (reads as on)
  std::optional<bool> consent;     // absent: never written (reads as off)
  bool predictions = true;
  std::string version = "0";
  bool update = false;
  struct Fetch {
    std::string since;
    std::function<void(std::optional<FetchedCloudDict>)> completion;
  };
  struct Upload {
    std::string tsv;
    bool force;
    std::function<void(bool)> completion;
  };
  std::vector<Fetch> fetches;
  std::vector<Upload> uploads;
  int silentChecks = 0;

  bool onlineDictEnabled() const override { return onlineDict.value_or(true); }
  void setOnlineDictEnabled(bool on) override { onlineDict = on; }
  bool uploadConsent() const override { return consent.value_or(false); }
  void setUploadConsent(bool on) override { consent = on; }
  std::string cloudDictVersion() const override { return version; }
  void setCloudDictVersion(const std::string& v) override { version = v; }
  bool updateAvailable() const override { return update; }
  bool showPredictions() const override { return predictions; }
  void setShowPredictions(bool on) override { predictions = on; }
  void fetchCloudDict(const std::string& since,
                      std::function<void(std::optional<FetchedCloudDict>)> completion) override {
    fetches.push_back({since, std::move(completion)});
  }
  void uploadUserDict(const std::string& tsv, bool force,
                      std::function<void(bool)> completion) override {
    uploads.push_back({tsv, force, std::move(completion)});
  }
  void silentCheckIfDue() override { ++silentChecks; }
};

class RecordingMenuUI : public MenuUIInterface {
 public:
  std::vector<std::string> calls;
  std::vector<std::function<void(bool)>> consentRequests;
  const KeyMap* shownKeyMap = nullptr;

  void showWelcome() override { calls.push_back("showWelcome"); }
  void showAbout() override { calls.push_back("showAbout"); }
  void showKeyMap(const KeyMap& keyMap) override {
    calls.push_back("showKeyMap");
    shownKeyMap = &keyMap;
  }
  void checkForUpdates() override { calls.push_back("checkForUpdates"); }
  void sendFeedback() override { calls.push_back("sendFeedback"); }
  void showWelcomeIfNeeded() override { calls.push_back("showWelcomeIfNeeded"); }
  void showPendingInstallNoticeIfNeeded() override {
    calls.push_back("showPendingInstallNoticeIfNeeded");
  }
  void confirmUploadConsent(std::function<void(bool)> answer) override {
    calls.push_back("confirmUploadConsent");
    consentRequests.push_back(std::move(answer));
  }
};

// One environment with every double wired in, and what the controller logged and noted.
struct ControllerFixture {
  FakeEngineState engineState;
  std::unique_ptr<FakeEngineScope> engineScope;
  testing::ManualMainQueue mainQueue;
  FakeServices services;
  RecordingMenuUI menuUI;
  // The key map the controllers see; a test may replace it at any time.
  KeyMap keys;
  void setKeys(KeyTable map, KeyMapExtras extras = {}) {
    keys = KeyMap(std::move(map), std::move(extras));
  }
  void addKey(const std::string& typed, const std::string& output) {
    KeyTable map = keys.arabic();
    map[typed] = output;
    setKeys(std::move(map), keys.extras());
  }
  std::vector<std::string> logLines;
  std::vector<std::pair<std::string, StageDetails>> stages;
  std::vector<std::optional<std::string>> clientApps;
  std::vector<RecordingPanel*> panels;  // owned by their controllers
  bool withEngine = true;
  std::shared_ptr<ControllerEnvironment> env;

  ControllerFixture();
  ~ControllerFixture();
  std::shared_ptr<OrnavInputController> makeController(TextClient* client);
  // The stage names noted so far, in order.
  std::vector<std::string> stageNames() const;
};

// A key-down event for `characters` with the given key code and flags.
KeyEvent keyDown(std::uint16_t keyCode, std::optional<std::string> characters,
                 std::uint64_t flags = 0);

// Sends a key-down event to the controller; the controller's answer.
bool press(OrnavInputController& controller, TextClient* client, std::uint16_t keyCode,
           std::optional<std::string> characters, std::uint64_t flags = 0);

}  // namespace ornav::controller_testing
