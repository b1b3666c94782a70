// Opening addresses with the workspace (the default browser, or System Settings for its own
// addresses).
#pragma once

#include <string>

#include "ports/url_opener.h"

namespace ornav::mac_platform {

class WorkspaceUrlOpener final : public UrlOpener {
 public:
  // False for text that is not a URL, and when the workspace refuses it.
  bool open(const std::string& url) override;
};

}  // namespace ornav::mac_platform
