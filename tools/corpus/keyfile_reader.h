// Reads localised values out of key files: desktop entries and their relatives (.directory,
// .notifyrc, themes, ...) with lines such as "Name[ug]=...", and the JSON plugin metadata that
// carries the same keys as "Name[ug]": "...".
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::corpus {

// True for the locale tag itself and its variants: "ug", "ug_CN", "ug-CN", "ug@Arab".
bool is_locale_tag(std::string_view tag, std::string_view language);

// Calls `visit` with the raw key and value of every "key=value" line (lines without "=" are
// skipped); the callers trim and decode as their files need.
void for_each_assignment(
    std::string_view text,
    const std::function<void(std::string_view key, std::string_view value)>& visit);

// Values of "Key[<language>]=value" lines, with the key-file escapes (\s \n \t \r \\) decoded.
std::vector<std::string> read_keyfile_values(std::string_view text, std::string_view language);

// Values of "Key[<language>]": "value" members anywhere in JSON text, with JSON escapes decoded.
// Malformed strings are skipped.
std::vector<std::string> read_json_values(std::string_view text, std::string_view language);

}  // namespace ornav::corpus
