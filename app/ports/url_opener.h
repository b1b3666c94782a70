// Opening an address in the user's browser or the system's settings.
#pragma once

#include <string>

namespace ornav {

class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // True when the system accepted the address and opened it.
  virtual bool open(const std::string& url) = 0;
};

}  // namespace ornav
