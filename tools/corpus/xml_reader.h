// Reads text out of XML (AppStream metadata, polkit policies, shared-mime files, CLDR locale
// data, help pages) with expat. Comments, processing instructions and the document type are
// skipped, CDATA is text, references are decoded. A file is read as element content: text and
// several elements may stand at its top. A character reference to a non-character becomes U+FFFD
// (the words on either side stay apart); an undeclared entity or a reference too long to be a
// number stays as written. Malformed input ends the reading early; whatever was read before it is
// returned.
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
