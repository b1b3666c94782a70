#include "platform/linux/qt/qt_text_measurer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <system_error>

#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

namespace {
constexpr int kDotsPerMeterAt96Dpi = 3780;  // 96 / 0.0254, as QImage keeps it
}

QtTextMeasurer::QtTextMeasurer() : device_(1, 1, QImage::Format_ARGB32_Premultiplied) {
  device_.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  device_.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
}

Size QtTextMeasurer::measure(const std::string& text, const Font& font) const {
  const QFontMetricsF metrics(toQFont(font, device_.logicalDpiY()), &device_);
  return Size{metrics.horizontalAdvance(toQString(text)), metrics.height()};
}

std::optional<std::string> QtTextMeasurer::registerFontFile(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::path key = std::filesystem::weakly_canonical(file, error);
  if (error) key = file;
  if (auto it = registered_.find(key); it != registered_.end()) return it->second;

  const int id = QFontDatabase::addApplicationFont(QString::fromStdString(key.string()));
  if (id < 0) return std::nullopt;
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (families.isEmpty()) {
    QFontDatabase::removeApplicationFont(id);
    return std::nullopt;
  }
  std::string family = fromQString(families.front());
  registered_.emplace(key, family);
  return family;
}

bool QtTextMeasurer::hasFont(const std::string& name) const {
  return !name.empty() && QFontDatabase::families().contains(toQString(name), Qt::CaseInsensitive);
}

}  // namespace ornav::linux_platform
