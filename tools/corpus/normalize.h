// Turns a raw source string into the normalised text that is tokenised and held out: markup
// removed, NFKC, no tatweel / joiners / bidi marks / harakat, keheh folded to kaf, every run of
// white space one space, every line break U+2029, no leading or trailing space.
#pragma once

#include <string>
#include <string_view>

namespace ornav::corpus {

// U+2029 PARAGRAPH SEPARATOR in UTF-8: a line break inside one source string. Lines are not
// neighbours, and held-out text keeps one source string per line of its file.
inline constexpr std::string_view kLineBreak = "\xE2\x80\xA9";

// The normaliser alone, for text that carries no markup (held-out lines, tests).
std::string normalize_plain(std::string_view text);

// strip_markup, then normalize_plain.
std::string normalize_text(std::string_view raw);

}  // namespace ornav::corpus
