// Reads the translations of web and wiki software: message files in JSON (MediaWiki and
// jQuery.i18n "ug-arab.json", CLDR's JSON "main/ug/*.json") and locale modules in JavaScript
// (editor and date-library "ug.js" files that assign an object of strings).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::corpus {

// Every string value of a JSON document, nested objects and arrays included, in document order;
// members whose name begins with "@" (authors and other metadata) are skipped. Nothing when the
// text is not JSON.
std::optional<std::vector<std::string>> read_json_strings(std::string_view text);

// Every string literal ('...' or "...") of a JavaScript file with its escapes decoded (\n \t \'
// \" \\ \xHH \uHHHH \u{H...}); comments are skipped. A literal left open at the end of a line or
// of the file ends the reading: what came before it is returned.
std::vector<std::string> read_script_strings(std::string_view text);

// A MediaWiki message as plain text: {{PLURAL:$1|one|more}} and its kin give their first
// form; other templates and magic words, and the parameters $1 $2 ..., become a break mark;
// links give their label ([[target|label]], [[target]], [https://... label]); bold and italic
// quotes vanish.
std::string wiki_message_text(std::string_view message);

}  // namespace ornav::corpus
