#include "session_display.h"

#include <system_error>

#include "base/text.h"

namespace ornav::session {

Size SessionTextMeasurer::measure(const std::string& text, const Font& font) const {
  const double characters = static_cast<double>(graphemeCount(text));
  return Size{characters * font.pointSize / 2, font.pointSize * 5 / 4};
}

std::optional<std::string> SessionTextMeasurer::registerFontFile(
    const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  return file.stem().string();
}

std::vector<Screen> defaultSessionScreens() {
  return {Screen{{0, 0, 1440, 900}, {0, 0, 1440, 875}}};
}

std::optional<Screen> SessionScreens::mainScreen() const {
  if (screens_.empty()) return std::nullopt;
  return screens_.front();
}

void SessionPanelWindow::show(const PanelScene& scene) {
  scene_ = scene;
  wordOffsets_.clear();
  visible_ = true;
}

bool SessionPanelWindow::clickCellWithIndex(int globalIndex) {
  if (!visible_ || !onClick_) return false;
  for (std::size_t i = 0; i < scene_.cells.size(); ++i) {
    if (scene_.cells[i].globalIndex != globalIndex) continue;
    // A copy: the click may rebuild the picture and replace the handler.
    auto onClick = onClick_;
    onClick(static_cast<int>(i));
    return true;
  }
  return false;
}

std::unique_ptr<PanelWindow> SessionWindowSystem::createPanelWindow() {
  auto window = std::make_unique<SessionPanelWindow>();
  lastPanelWindow_ = window.get();
  return window;
}

}  // namespace ornav::session
