// The headless session's display, deterministic so that its answers can be computed by hand: a
// text of n user-perceived characters in a font of s points measures n × s / 2 wide and s × 5 / 4
// high; the screens are the ones the session was given; the panel window keeps the picture it was
// last asked to show and delivers clicks on its cells.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ports/dialog_window.h"
#include "ports/panel_window.h"
#include "ports/screens.h"
#include "ports/text_measurer.h"

namespace ornav::session {

class SessionTextMeasurer : public TextMeasurer {
 public:
  Size measure(const std::string& text, const Font& font) const override;
  // A font file registers under its file name without extension when it can be read; every
  // font name is available, since all fonts measure alike here.
  std::optional<std::string> registerFontFile(const std::filesystem::path& file) override;
  bool hasFont(const std::string& name) const override { return !name.empty(); }
};

// One 1440 × 900 display with a 25-point menu bar.
std::vector<Screen> defaultSessionScreens();

// The given displays; the first is the main one. None at all is allowed.
class SessionScreens : public Screens {
 public:
  explicit SessionScreens(std::vector<Screen> screens) : screens_(std::move(screens)) {}
  std::vector<Screen> screens() const override { return screens_; }
  std::optional<Screen> mainScreen() const override;

 private:
  std::vector<Screen> screens_;
};

class SessionPanelWindow : public PanelWindow {
 public:
  void show(const PanelScene& scene) override;
  void hide() override { visible_ = false; }
  bool isVisible() const override { return visible_; }
  void setWordOffset(int cellIndex, double offset) override { wordOffsets_[cellIndex] = offset; }
  void setClickHandler(std::function<void(int)> handler) override { onClick_ = std::move(handler); }

  // The picture last shown (kept while hidden).
  const PanelScene& scene() const { return scene_; }
  const std::map<int, double>& wordOffsets() const { return wordOffsets_; }
  // A mouse-down on the shown cell that stands for `globalIndex` (-1: the hint cell). False when
  // the window is hidden or shows no such cell.
  bool clickCellWithIndex(int globalIndex);

 private:
  PanelScene scene_;
  bool visible_ = false;
  std::map<int, double> wordOffsets_;
  std::function<void(int)> onClick_;
};

// Makes panel windows only: a headless session opens no dialog.
class SessionWindowSystem : public WindowSystem {
 public:
  std::unique_ptr<DialogWindow> createWindow(const WindowDescription&) override { return nullptr; }
  std::unique_ptr<PanelWindow> createPanelWindow() override;
  void activateApplication() override {}

  // The panel window made last; it lives as long as the panel that asked for it.
  SessionPanelWindow* lastPanelWindow() const { return lastPanelWindow_; }

 private:
  SessionPanelWindow* lastPanelWindow_ = nullptr;
};

}  // namespace ornav::session
