// Fakes of the user-interface ports. They draw nothing: they keep what they were asked to show so
// that tests can read it back, and let tests press buttons, click cells and answer alerts.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ports/alerts.h"
#include "ports/dialog_window.h"
#include "ports/input_menu.h"
#include "ports/panel_window.h"
#include "ports/screens.h"
#include "ports/text_measurer.h"
#include "ports/url_opener.h"

namespace ornav::testing {

// Widths are predictable: each code point is `advance` × the point size wide; a line is
// 1.25 × the point size high.
class FakeTextMeasurer : public TextMeasurer {
 public:
  double advance = 0.5;
  std::set<std::string> availableFonts = {"Geeza Pro"};
  // Font files that "register": path -> PostScript name. Others fail.
  std::map<std::string, std::string> registrableFiles;
  std::vector<std::string> registrations;

  Size measure(const std::string& text, const Font& font) const override;
  std::optional<std::string> registerFontFile(const std::filesystem::path& file) override;
  bool hasFont(const std::string& name) const override { return availableFonts.count(name) > 0; }
};

class FakeScreens : public Screens {
 public:
  // One 1440 × 900 display with a 25-point menu bar.
  std::vector<Screen> all = {Screen{{0, 0, 1440, 900}, {0, 0, 1440, 875}}};
  std::optional<std::size_t> mainIndex = 0;

  std::vector<Screen> screens() const override { return all; }
  std::optional<Screen> mainScreen() const override {
    if (!mainIndex || *mainIndex >= all.size()) return std::nullopt;
    return all[*mainIndex];
  }
};

class RecordingPanelWindow : public PanelWindow {
 public:
  std::vector<PanelScene> scenes;  // every scene shown, in order
  bool visible = false;
  bool released = false;  // the owner dropped its handle
  int hideCount = 0;
  std::map<int, double> wordOffsets;  // cell -> last offset set

  void show(const PanelScene& scene) override {
    scenes.push_back(scene);
    wordOffsets.clear();
    visible = true;
  }
  void hide() override {
    visible = false;
    ++hideCount;
  }
  bool isVisible() const override { return visible; }
  void setWordOffset(int cellIndex, double offset) override { wordOffsets[cellIndex] = offset; }
  void setClickHandler(std::function<void(int)> handler) override { onClick_ = std::move(handler); }

  // Simulates a mouse-down on a cell of the last scene; false when no handler is set.
  bool click(int cellIndex) {
    if (!onClick_) return false;
    onClick_(cellIndex);
    return true;
  }
  const PanelScene* lastScene() const { return scenes.empty() ? nullptr : &scenes.back(); }

 private:
  std::function<void(int)> onClick_;
};

class RecordingDialogWindow : public DialogWindow {
 public:
  explicit RecordingDialogWindow(WindowDescription description);

  WindowDescription description;
  bool visible = false;
  bool closed = false;
  bool released = false;  // the owner dropped its handle
  int showCount = 0;
  bool shownWithoutFocus = false;  // the last show left the keyboard where it was
  // Current state of every named control.
  std::map<std::string, std::string> texts;
  std::map<std::string, bool> enabled;
  std::map<std::string, ProgressState> progress;

  void show() override;
  void showWithoutFocus() override;
  void close() override;
  bool isVisible() const override { return visible; }
  bool setText(const std::string& control, const std::string& text) override;
  std::optional<std::string> text(const std::string& control) const override;
  bool setEnabled(const std::string& control, bool isEnabled) override;
  bool setProgress(const std::string& control, const ProgressState& state) override;
  void setActionHandler(std::function<void(DialogAction)> handler) override {
    onAction_ = std::move(handler);
  }

  // The user closes the window with its title-bar button: hidden, not closed.
  void closeFromTitleBar() { visible = false; }
  // The user presses the button with that action; false when there is none or it is disabled.
  bool press(DialogAction action);
  // The user types into an editable control (replacing its content).
  bool type(const std::string& control, const std::string& text);
  const ControlDescription* control(const std::string& name) const;

 private:
  std::function<void(DialogAction)> onAction_;
};

class RecordingWindowSystem : public WindowSystem {
 public:
  // Every window created, in order. The caller gets a handle that forwards to these records, so
  // they stay readable after the caller dropped its handle (`released` tells).
  std::vector<std::shared_ptr<RecordingDialogWindow>> windows;
  std::vector<std::shared_ptr<RecordingPanelWindow>> panels;
  int activations = 0;

  std::unique_ptr<DialogWindow> createWindow(const WindowDescription& description) override;
  std::unique_ptr<PanelWindow> createPanelWindow() override;
  void activateApplication() override { ++activations; }

  // The most recently created window with that title, or null.
  RecordingDialogWindow* windowTitled(const std::string& title) const;
};

class ScriptedAlerts : public Alerts {
 public:
  std::vector<AlertDescription> shown;
  std::deque<int> answers;  // consumed in order; 0 (the first button) when empty

  int runModal(const AlertDescription& alert) override {
    shown.push_back(alert);
    if (answers.empty()) return 0;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class RecordingUrlOpener : public UrlOpener {
 public:
  std::vector<std::string> opened;
  std::set<std::string> refused;  // addresses that "fail to open"
  bool open(const std::string& url) override {
    opened.push_back(url);
    return refused.count(url) == 0;
  }
};

class RecordingInputMenu : public InputMenu {
 public:
  std::vector<MenuDescription> shown;
  void show(const MenuDescription& menu, std::function<void(InputMenuAction)> onAction) override {
    shown.push_back(menu);
    onAction_ = std::move(onAction);
  }
  // Chooses the item with that action in the last menu shown; false when there is none.
  bool choose(InputMenuAction action);

 private:
  std::function<void(InputMenuAction)> onAction_;
};

}  // namespace ornav::testing
