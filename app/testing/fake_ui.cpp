#include "testing/fake_ui.h"

namespace ornav::testing {

namespace {
std::size_t codePoints(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

// Forwards to a record that outlives the handle.
class DialogHandle : public DialogWindow {
 public:
  explicit DialogHandle(std::shared_ptr<RecordingDialogWindow> record)
      : record_(std::move(record)) {}
  ~DialogHandle() override { record_->released = true; }
  void show() override { record_->show(); }
  void showWithoutFocus() override { record_->showWithoutFocus(); }
  void close() override { record_->close(); }
  bool isVisible() const override { return record_->isVisible(); }
  bool setText(const std::string& c, const std::string& t) override {
    return record_->setText(c, t);
  }
  std::optional<std::string> text(const std::string& c) const override { return record_->text(c); }
  bool setEnabled(const std::string& c, bool e) override { return record_->setEnabled(c, e); }
  bool setProgress(const std::string& c, const ProgressState& s) override {
    return record_->setProgress(c, s);
  }
  void setActionHandler(std::function<void(DialogAction)> h) override {
    record_->setActionHandler(std::move(h));
  }

 private:
  std::shared_ptr<RecordingDialogWindow> record_;
};

class PanelHandle : public PanelWindow {
 public:
  explicit PanelHandle(std::shared_ptr<RecordingPanelWindow> record) : record_(std::move(record)) {}
  ~PanelHandle() override { record_->released = true; }
  void show(const PanelScene& scene) override { record_->show(scene); }
  void hide() override { record_->hide(); }
  bool isVisible() const override { return record_->isVisible(); }
  void setWordOffset(int cell, double offset) override { record_->setWordOffset(cell, offset); }
  void setClickHandler(std::function<void(int)> handler) override {
    record_->setClickHandler(std::move(handler));
  }

 private:
  std::shared_ptr<RecordingPanelWindow> record_;
};
}  // namespace

Size FakeTextMeasurer::measure(const std::string& text, const Font& font) const {
  return Size{static_cast<double>(codePoints(text)) * advance * font.pointSize,
              1.25 * font.pointSize};
}

std::optional<std::string> FakeTextMeasurer::registerFontFile(const std::filesystem::path& file) {
  registrations.push_back(file.string());
  auto found = registrableFiles.find(file.string());
  if (found == registrableFiles.end()) return std::nullopt;
  availableFonts.insert(found->second);
  return found->second;
}

RecordingDialogWindow::RecordingDialogWindow(WindowDescription desc)
    : description(std::move(desc)) {
  for (const auto& control : description.controls) {
    if (control.name.empty()) continue;
    std::visit(
        [&](const auto& kind) {
          using T = std::decay_t<decltype(kind)>;
          if constexpr (std::is_same_v<T, ButtonControl>) {
            texts[control.name] = kind.title;
            enabled[control.name] = kind.enabled;
          } else if constexpr (std::is_same_v<T, ProgressControl>) {
            progress[control.name] = kind.state;
          } else if constexpr (std::is_same_v<T, ImageControl> || std::is_same_v<T, BoxControl>) {
          } else {
            texts[control.name] = kind.text;
          }
        },
        control.kind);
  }
}

const ControlDescription* RecordingDialogWindow::control(const std::string& name) const {
  for (const auto& control : description.controls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

void RecordingDialogWindow::show() {
  visible = true;
  shownWithoutFocus = false;
  ++showCount;
}

void RecordingDialogWindow::showWithoutFocus() {
  show();
  shownWithoutFocus = true;
}

void RecordingDialogWindow::close() {
  visible = false;
  closed = true;
}

bool RecordingDialogWindow::setText(const std::string& name, const std::string& text) {
  auto* found = control(name);
  if (!found || std::holds_alternative<ProgressControl>(found->kind) ||
      std::holds_alternative<ImageControl>(found->kind) ||
      std::holds_alternative<BoxControl>(found->kind)) {
    return false;
  }
  texts[name] = text;
  return true;
}

std::optional<std::string> RecordingDialogWindow::text(const std::string& name) const {
  auto found = texts.find(name);
  if (found == texts.end()) return std::nullopt;
  return found->second;
}

bool RecordingDialogWindow::setEnabled(const std::string& name, bool isEnabled) {
  if (!control(name)) return false;
  enabled[name] = isEnabled;
  return true;
}

bool RecordingDialogWindow::setProgress(const std::string& name, const ProgressState& state) {
  auto* found = control(name);
  if (!found || !std::holds_alternative<ProgressControl>(found->kind)) return false;
  progress[name] = state;
  return true;
}

bool RecordingDialogWindow::press(DialogAction action) {
  for (const auto& control : description.controls) {
    auto* button = std::get_if<ButtonControl>(&control.kind);
    if (!button || button->action != action) continue;
    if (!control.name.empty() && !enabled[control.name]) return false;
    if (onAction_) onAction_(action);
    return true;
  }
  return false;
}

bool RecordingDialogWindow::type(const std::string& name, const std::string& text) {
  auto* found = control(name);
  if (!found) return false;
  if (auto* view = std::get_if<TextViewControl>(&found->kind); view && !view->editable) {
    return false;
  }
  if (!std::holds_alternative<TextViewControl>(found->kind) &&
      !std::holds_alternative<TextFieldControl>(found->kind)) {
    return false;
  }
  texts[name] = text;
  return true;
}

std::unique_ptr<DialogWindow> RecordingWindowSystem::createWindow(
    const WindowDescription& description) {
  auto record = std::make_shared<RecordingDialogWindow>(description);
  windows.push_back(record);
  return std::make_unique<DialogHandle>(record);
}

std::unique_ptr<PanelWindow> RecordingWindowSystem::createPanelWindow() {
  auto record = std::make_shared<RecordingPanelWindow>();
  panels.push_back(record);
  return std::make_unique<PanelHandle>(record);
}

RecordingDialogWindow* RecordingWindowSystem::windowTitled(const std::string& title) const {
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if ((*it)->description.title == title) return it->get();
  }
  return nullptr;
}

bool RecordingInputMenu::choose(InputMenuAction action) {
  if (shown.empty() || !onAction_) return false;
  for (const auto& item : shown.back().items) {
    if (!item.separator && item.action == action) {
      onAction_(action);
      return true;
    }
  }
  return false;
}

}  // namespace ornav::testing
