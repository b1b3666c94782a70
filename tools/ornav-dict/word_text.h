// Splitting running Uyghur text into the words a user would type.
//
// A word is a maximal run of the 32 letters of the Uyghur Arabic alphabet and the hamza carrier
// ئ. Before splitting, marks that a keyboard never produces are dropped (tatweel, harakat, zero
// width joiners, bidi controls) and keheh is folded to kaf, so "كىتاب" written either way is one
// word. Everything else (digits, punctuation, Latin text) separates words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ornav::dict {

bool isUyghurLetter(char32_t c);

// The words of one line of text, in order.
std::vector<std::string> splitWords(std::string_view line);

// The lines of a text (split at LF, a CR before it dropped), each as its words.
std::vector<std::vector<std::string>> splitTextIntoLines(std::string_view text);

}  // namespace ornav::dict
