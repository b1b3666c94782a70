#include "platform/linux/qt/qt_url_opener.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {

bool QtUrlOpener::open(const std::string& url) {
  const QUrl address(toQString(url), QUrl::StrictMode);
  if (!address.isValid() || address.isRelative()) return false;
  return QDesktopServices::openUrl(address);
}

}  // namespace ornav::linux_platform
