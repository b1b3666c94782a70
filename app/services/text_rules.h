// Whether bytes from outside (tool output, user files) are well-formed UTF-8 before they are shown
// to the user or sent as JSON text. Trimming and character counting are in service_text.h.
#pragma once

#include <string_view>

namespace ornav::text_rules {

bool isValidUTF8(std::string_view text);

}  // namespace ornav::text_rules
