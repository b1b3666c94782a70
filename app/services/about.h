// Reading the about answer; the operation is UpdateServiceOperations::fetchAboutContent.
#pragma once

#include <optional>
#include <string_view>

#include "ports/system_info.h"
#include "services/update_types.h"

namespace ornav::about {

// The input method's name in Uyghur Arabic script, as the resources keep it.
std::string_view uyghurDisplayName();

// The built-in texts on that desktop: they name its input framework.
AboutContent builtIn(DesktopFamily desktop);

// The three texts of the answer, each falling back to `defaults` when it is missing or not a
// string; absent when the body is not a JSON object.
std::optional<AboutContent> readAboutAnswer(std::string_view body, const AboutContent& defaults);

}  // namespace ornav::about
