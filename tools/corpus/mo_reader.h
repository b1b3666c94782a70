// Reads the translations out of a compiled gettext catalog (.mo).
//
// Layout (all 32-bit words in the file's byte order, told by the magic number): magic, revision,
// string count N, offset of the original-string table, offset of the translation table; each
// table holds N (length, offset) pairs. A translation with plural forms holds the forms one after
// another, separated by NUL bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::corpus {

// Every non-empty translated form, in catalog order; the header entry (empty original) is
// skipped. nullopt when the bytes are not a well-formed catalog (bad magic, a table or a string
// outside the file).
std::optional<std::vector<std::string>> read_mo_translations(std::string_view bytes);

}  // namespace ornav::corpus
