#include "platform/linux/qt/qt_images.h"

#include <QGuiApplication>
#include <QImageReader>

#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

namespace {

// An icon of every image the file holds (an icns file holds several sizes); null when the file
// is missing or not an image Qt can read.
QIcon iconFromFile(const QString& path) {
  QImageReader reader(path);
  if (!reader.canRead()) return {};
  QIcon icon;
  do {
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  } while (reader.jumpToNextImage());
  return icon;
}

}  // namespace

QIcon ImageLoader::load(const std::vector<ImageSource>& sources) const {
  for (const ImageSource& source : sources) {
    QIcon icon = load(source);
    if (!icon.isNull()) return icon;
  }
  return {};
}

QIcon ImageLoader::load(const ImageSource& source) const {
  switch (source.kind) {
    case ImageSource::Kind::named:
      return named(source.value);
    case ImageSource::Kind::file:
      return source.value.empty() ? QIcon() : iconFromFile(toQString(source.value));
    case ImageSource::Kind::applicationIcon:
      return applicationIcon();
  }
  return {};
}

QIcon ImageLoader::named(const std::string& name) const {
  if (name.empty()) return {};
  if (bundle_ != nullptr) {
    for (const char* extension : {"png", "icns", "jpg", ""}) {
      if (auto path = bundle_->pathForResource(name, extension)) {
        QIcon icon = iconFromFile(QString::fromStdString(path->string()));
        if (!icon.isNull()) return icon;
      }
    }
  }
  return QIcon::fromTheme(toQString(name));
}

QIcon ImageLoader::applicationIcon() const {
  QIcon icon = QGuiApplication::windowIcon();
  if (!icon.isNull()) return icon;
  if (bundle_ == nullptr) return {};
  std::string file = bundle_->infoString("CFBundleIconFile").value_or("");
  const std::string suffix = ".icns";
  if (file.size() > suffix.size() && file.ends_with(suffix))
    file.resize(file.size() - suffix.size());
  return named(file);
}

}  // namespace ornav::linux_platform
