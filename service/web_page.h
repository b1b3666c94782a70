// The service's web page, the address the application opens for feedback in the browser: the
// about text and a form that sends a feedback the way the application does.
#pragma once

#include <string>

#include "storage.h"

namespace ornav::service {

std::string webPage(const AboutText& about);

}  // namespace ornav::service
