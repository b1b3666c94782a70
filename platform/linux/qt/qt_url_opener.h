// Opening addresses with the desktop's handlers (QDesktopServices).
#pragma once

#include "ports/url_opener.h"

namespace ornav::linux_platform {

class QtUrlOpener : public UrlOpener {
 public:
  // False for text that is not an absolute address, and when no handler took it.
  bool open(const std::string& url) override;
};

}  // namespace ornav::linux_platform
