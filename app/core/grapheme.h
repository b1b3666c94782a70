// Counting and trimming text in user-perceived characters (extended grapheme clusters), which is
// what a user means by "one character": a letter with its marks, an emoji sequence, CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ornav {

// Number of grapheme clusters in UTF-8 text (ill-formed bytes count as U+FFFD each).
std::size_t graphemeCount(std::string_view utf8);

// The text without its last grapheme cluster ("" stays "").
std::string dropLastGrapheme(std::string_view utf8);

}  // namespace ornav
