#include "platform/linux/screenshots/screenshot_book.h"

#include <cmath>

#include "core/key_map.h"
#include "core/ornav_engine_binding.h"
#include "dialogs/menu_ui.h"
#include "panel/candidate_panel.h"
#include "panel/word_font.h"
#include "platform/linux/directory_bundle.h"
#include "platform/linux/qt/qt_render.h"
#include "platform/linux/qt/qt_text_measurer.h"
#include "platform/linux/qt/qt_window_system.h"
#include "services/about.h"
#include "services/update_service.h"
#include "testing/fake_system.h"
#include "testing/fake_ui.h"
#include "testing/manual_main_queue.h"

namespace ornav::linux_platform {
namespace {

// The Qt windows, remembered as they are made, so that each can be drawn into a picture.
class CapturingWindowSystem : public WindowSystem {
 public:
  explicit CapturingWindowSystem(const Bundle* bundle) : qt_(bundle) {}
  std::unique_ptr<DialogWindow> createWindow(const WindowDescription& description) override {
    auto window = qt_.createWindow(description);
    dialogs.push_back(window.get());
    return window;
  }
  std::unique_ptr<PanelWindow> createPanelWindow() override {
    auto window = qt_.createPanelWindow();
    panels.push_back(window.get());
    return window;
  }
  void activateApplication() override {}

  std::vector<const DialogWindow*> dialogs;
  std::vector<const PanelWindow*> panels;

 private:
  QtWindowSystem qt_;
};

// The services answer as the test of a picture needs: an update to offer, or none.
class ScriptedDialogServices : public DialogServices {
 public:
  std::optional<UpdateResult> nextCheck;
  std::function<void(InAppUpdateStage)> progress;
  std::function<void(InAppUpdateResult)> installed;

  void checkForUpdates(std::function<void(UpdateResult)> completion) override {
    if (nextCheck) completion(*nextCheck);
  }
  void downloadAndInstallUpdate(const UpdateInfo&, std::function<void(InAppUpdateStage)> stage,
                                std::function<void(InAppUpdateResult)> completion) override {
    progress = std::move(stage);
    installed = std::move(completion);
  }
  void submitFeedback(const std::string&, const std::string&,
                      std::function<void(FeedbackResult)>) override {}
  void fetchAboutContent(std::function<void(std::optional<AboutContent>)>) override {}
  std::optional<PendingInstallNotice> consumePendingInstallNotice() override { return {}; }
  std::string currentVersion() const override { return "1.0.0"; }
  std::string feedbackURL() const override { return ""; }
  AboutContent defaultAbout() const override { return about::builtIn(DesktopFamily::linuxDesktop); }
  bool hasShownWelcome() const override { return true; }
  void setHasShownWelcome(bool) override {}
};

// Candidates of the bundle's dictionary after `typed`, best first.
std::vector<std::string> candidatesAfter(const std::filesystem::path& bundle,
                                         const std::string& typed) {
  auto engine =
      OrnavEngine::create((bundle / "Contents" / "Resources" / "dict").string(), std::nullopt);
  if (!engine) return {"سالام", "سالامەت", "ساغلام", "سانائەت", "ساقلاش", "سابىق"};
  engine->input(typed);
  return engine->candidates();
}

CandidateRows rowsOf(const std::vector<std::string>& words, std::size_t rowCount) {
  CandidateRows rows;
  for (std::size_t i = 0; i < words.size() && rows.size() <= rowCount; ++i) {
    if (i % CandidatePanel::pageSize == 0) {
      if (rows.size() == rowCount) break;
      rows.emplace_back();
    }
    rows.back().push_back(words[i]);
  }
  return rows;
}

void addPanelShots(const std::filesystem::path& bundlePath, const Bundle& bundle,
                   std::vector<Screenshot>& shots) {
  CapturingWindowSystem windows(&bundle);
  QtTextMeasurer measurer;
  testing::ManualMainQueue queue;
  testing::FakeScreens screens;
  CandidatePanel panel(PanelEnvironment{&windows, &measurer, &queue, &screens, &bundle, {}});
  const PanelWindow& window = *windows.panels.front();
  const Rect caret{400, 500, 1, 18};
  const auto shoot = [&](const char* name) {
    shots.push_back({name, renderPanelWindow(window), panel.scene()});
  };

  const std::vector<std::string> words = candidatesAfter(bundlePath, "سا");
  panel.update(rowsOf(words, 1), 0, 0, words.size() > CandidatePanel::pageSize, caret);
  shoot("panel-row");
  panel.update(rowsOf(words, 3), 1, 2, false, caret);
  shoot("panel-grid");

  // The longest word, highlighted in the grid, slides to show what its cell clips.
  CandidateRows rows = rowsOf(words, 2);
  std::vector<std::string> longer = candidatesAfter(bundlePath, "سالامل");
  std::string widest = longer.empty() ? "سالاملىشىشتا" : longer.front();
  for (const std::string& word : longer) {
    if (word.size() > widest.size()) widest = word;
  }
  rows.at(1).at(0) = widest;
  panel.update(rows, 1, 0, false, caret);
  queue.advance(Seconds(0.9));
  shoot("panel-marquee");
}

void addDialogShots(const Bundle& bundle, std::vector<Screenshot>& shots) {
  CapturingWindowSystem windows(&bundle);
  testing::ScriptedAlerts alerts;
  testing::RecordingUrlOpener urls;
  testing::ManualMainQueue queue;
  ScriptedDialogServices services;
  QtTextMeasurer measurer;
  // The windows as they are on this desktop.
  testing::FakeSystemInfo system;
  system.family = DesktopFamily::linuxDesktop;
  MenuUI menu(MenuUIPorts{&windows, &alerts, &urls, &queue, &bundle, &system, nullptr,
                          [&](double size) { return loadWordFont(size, &bundle, measurer, {}); }},
              services);
  const auto shootLastWindow = [&](const char* name) {
    shots.push_back({name, renderDialogWindow(*windows.dialogs.back()), {}});
  };

  UpdateInfo offer;
  offer.version = "1.1.0";
  offer.notes = "候选词面板更快，词库更全。\n修复了若干问题。";
  offer.sha256 = "5d41402abc4b2a76b9719d911017c592";
  offer.fileSizeMB = 12.3;
  services.nextCheck = UpdateResult::available(offer);
  menu.checkForUpdates();
  queue.drain();
  shootLastWindow("update-offered");
  menu.perform(DialogAction::startInAppUpdate);
  // The same package as offered: its announced size is the download's length.
  const auto offeredBytes =
      static_cast<std::int64_t>(std::llround(*offer.fileSizeMB * 1024 * 1024));
  services.progress(InAppUpdateStage::downloading(offeredBytes * 2 / 5, offeredBytes));
  queue.drain();
  shootLastWindow("update-downloading");
  services.installed(InAppUpdateResult::failure("更新包下载不完整，请重试。"));
  queue.drain();
  shootLastWindow("update-failed");
  menu.closeUpdateWindow();

  services.nextCheck = UpdateResult::upToDate();
  menu.checkForUpdates();
  queue.drain();
  if (!alerts.shown.empty())
    shots.push_back({"update-latest", renderAlert(alerts.shown.back()), {}});

  menu.sendFeedback();
  shootLastWindow("feedback");
  menu.showAbout();
  shootLastWindow("about");
  menu.showWelcome();
  shootLastWindow("welcome");

  KeyMap keyMap;
  keyMap.load(&bundle, nullptr);
  menu.showKeyMap(keyMap);
  shootLastWindow("key-map");
}

}  // namespace

std::vector<Screenshot> takeScreenshots(const std::filesystem::path& bundlePath) {
  const DirectoryBundle bundle(bundlePath);
  std::vector<Screenshot> shots;
  addPanelShots(bundlePath, bundle, shots);
  addDialogShots(bundle, shots);
  return shots;
}

}  // namespace ornav::linux_platform
