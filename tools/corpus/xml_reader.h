// Reads text out of XML without a validating parser: enough for AppStream metadata, polkit
// policies, shared-mime files, CLDR locale data and help pages. Comments, processing
// instructions and the document type are skipped, CDATA is text, the five named entities and
// numeric character references are decoded. Malformed input ends the reading early; whatever was
// read before it is returned.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ornav::corpus {

// The text of each element whose xml:lang attribute names `language` ("ug", "ug_CN" ...),
// descendants included, one string per such element. Block-level children start a new line.
std::vector<std::string> read_xml_lang_text(std::string_view xml, std::string_view language);

// Every text run of the document, split where an element other than an inline one (emphasis,
// links, key names ...) starts or ends. Empty and white-space-only runs are left out.
std::vector<std::string> read_xml_text(std::string_view xml);

}  // namespace ornav::corpus
