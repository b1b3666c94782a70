// Reads localised values out of key files: desktop entries and their relatives (.directory,
// .notifyrc, themes, ...) with lines such as "Name[ug]=...", and the JSON plugin metadata that
// carries the same keys as "Name[ug]": "...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ornav::corpus {

// True for the locale tag itself and its variants: "ug", "ug_CN", "ug-CN", "ug@Arab".
bool is_locale_tag(std::string_view tag, std::string_view language);

// Values of "Key[<language>]=value" lines, with the key-file escapes (\s \n \t \r \\) decoded.
std::vector<std::string> read_keyfile_values(std::string_view text, std::string_view language);

// Values of "Key[<language>]": "value" members anywhere in JSON text, with JSON escapes decoded.
// Malformed strings are skipped.
std::vector<std::string> read_json_values(std::string_view text, std::string_view language);

}  // namespace ornav::corpus
