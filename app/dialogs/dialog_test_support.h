// A fake of the dialogs' services and a bench that builds MenuUI on the recording UI ports.
// The fake keeps every completion; a test calls it when it wants the service to answer, which is
// what the real service does: later, on the main queue.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/dialog_services.h"
#include "dialogs/menu_ui.h"
#include "testing/fake_process_runner.h"
#include "testing/fake_system.h"
#include "testing/fake_ui.h"
#include "testing/manual_main_queue.h"

namespace ornav::dialog_testing {

class FakeDialogServices : public DialogServices {
 public:
  struct Install {
    UpdateInfo info;
    std::function<void(InAppUpdateStage)> progress;
    std::function<void(InAppUpdateResult)> completion;
  };
  struct Feedback {
    std::string message;
    std::string contact;
    std::function<void(FeedbackResult)> completion;
  };

  std::vector<std::function<void(UpdateResult)>> checks;
  std::vector<Install> installs;
  std::vector<Feedback> feedbacks;
  std::vector<std::function<void(std::optional<AboutContent>)>> aboutFetches;

  std::string version = "1.2.3";
  std::string feedbackAddress = "https://ime.example.org/";
  std::optional<PendingInstallNotice> pendingNotice;
  AboutContent builtInAbout{"Tolvex输入法", "内置说明", "© 内置"};
  bool welcomeShown = false;
  // Called when the welcome flag is written (lets a test see what had happened by then).
  std::function<void(bool)> onWelcomeWrite;

  void checkForUpdates(std::function<void(UpdateResult)> completion) override {
    checks.push_back(std::move(completion));
  }
  void downloadAndInstallUpdate(const UpdateInfo& info,
                                std::function<void(InAppUpdateStage)> progress,
                                std::function<void(InAppUpdateResult)> completion) override {
    installs.push_back({info, std::move(progress), std::move(completion)});
  }
  void submitFeedback(const std::string& message, const std::string& contact,
                      std::function<void(FeedbackResult)> completion) override {
    feedbacks.push_back({message, contact, std::move(completion)});
  }
  void fetchAboutContent(std::function<void(std::optional<AboutContent>)> completion) override {
    aboutFetches.push_back(std::move(completion));
  }
  std::optional<PendingInstallNotice> consumePendingInstallNotice() override {
    return std::exchange(pendingNotice, std::nullopt);
  }
  std::string currentVersion() const override { return version; }
  std::string feedbackURL() const override { return feedbackAddress; }
  AboutContent defaultAbout() const override { return builtInAbout; }
  bool hasShownWelcome() const override { return welcomeShown; }
  void setHasShownWelcome(bool shown) override {
    welcomeShown = shown;
    if (onWelcomeWrite) onWelcomeWrite(shown);
  }
};

// The UI ports in one event list, so a test can tell what came right before an alert.
class EventWindowSystem : public testing::RecordingWindowSystem {
 public:
  explicit EventWindowSystem(std::vector<std::string>& events) : events_(events) {}
  void activateApplication() override {
    RecordingWindowSystem::activateApplication();
    events_.push_back("activate");
  }

 private:
  std::vector<std::string>& events_;
};

class EventAlerts : public testing::ScriptedAlerts {
 public:
  explicit EventAlerts(std::vector<std::string>& events) : events_(events) {}
  int runModal(const AlertDescription& alert) override {
    events_.push_back("alert " + alert.message);
    return ScriptedAlerts::runModal(alert);
  }

 private:
  std::vector<std::string>& events_;
};

struct DialogFixture {
  std::vector<std::string> events;  // "activate", "alert <message>"
  EventWindowSystem windows{events};
  EventAlerts alerts{events};
  testing::RecordingUrlOpener urls;
  testing::ManualMainQueue mainQueue;
  testing::FakeBundle bundle;
  FakeDialogServices services;
  testing::FakeSystemInfo system;
  testing::FakeProcessRunner processes;
  MenuUI ui{MenuUIPorts{&windows, &alerts, &urls, &mainQueue, &bundle, &system, &processes, {}},
            services};

  // The window with that title most recently created, or null.
  testing::RecordingDialogWindow* window(const std::string& title) const {
    return windows.windowTitled(title);
  }
  // The last alert; fails the test when none was shown.
  const AlertDescription& lastAlert() const;
  // True when every alert ran right after the application was activated for it.
  bool everyAlertActivated() const;
};

// The frame of every named control of a window, by name.
std::vector<std::pair<std::string, Rect>> controlFrames(const WindowDescription& window);

}  // namespace ornav::dialog_testing
