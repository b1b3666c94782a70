// Which uploaded words the service keeps: words of the Uyghur Arabic-script alphabet of a sane
// length. Everything else a user may have typed (digits, Latin text, e-mail addresses, links,
// punctuation) is dropped on arrival and never stored.
#pragma once

#include <cstddef>
#include <string_view>

namespace ornav::service {

inline constexpr std::size_t kShortestWord = 2;  // letters
inline constexpr std::size_t kLongestWord = 40;

// True when `word` is well-formed UTF-8 made only of the alphabet's letters (hamza included),
// between kShortestWord and kLongestWord of them.
bool isDictionaryWord(std::string_view word);

}  // namespace ornav::service
