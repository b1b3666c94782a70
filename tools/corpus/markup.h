// Removes what translation strings carry besides words: printf/Qt/Python placeholders, brace
// variables, markup tags, character entities and menu accelerators.
//
// Anything that stood for other text (a placeholder, a block tag, an entity for a symbol) is
// replaced by kBreak so that the words on either side are never counted as neighbours; inline
// formatting tags become a space; accelerator marks vanish so the word they sat in stays whole.
#pragma once

#include <string>
#include <string_view>

namespace ornav::corpus {

// U+FFFC OBJECT REPLACEMENT CHARACTER in UTF-8: "something else stood here".
inline constexpr std::string_view kBreak = "\xEF\xBF\xBC";

std::string strip_markup(std::string_view text);

}  // namespace ornav::corpus
