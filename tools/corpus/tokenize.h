// Splits normalised text into words and into runs of neighbouring words.
//
// A word is a maximal run of the 32 Uyghur letters plus the hamza carrier ئ. Words are
// neighbours only when nothing but white space stands between them; any other character (a
// digit, punctuation, Latin text, a placeholder's break mark, a line break) ends the run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ornav::corpus {

bool is_uyghur_letter(char32_t c);  // the 32 letters and ئ
bool is_uyghur_vowel(char32_t c);   // ا ە و ۇ ۆ ۈ ې ى

// Why a run of letters was not taken as a word.
enum class Rejection {
  kBareVowelStart,     // starts with a vowel without ئ before it
  kHamzaWithoutVowel,  // ئ not followed by a vowel
  kForeignLetter,      // glued to an Arabic-script letter outside the alphabet: a fragment
};

struct TokenizedText {
  // Each inner vector is a run of neighbouring words, in text order.
  std::vector<std::vector<std::string>> runs;
  size_t rejected = 0;
  size_t rejected_bare_vowel = 0;
  size_t rejected_hamza = 0;
  size_t rejected_foreign = 0;
};

// The check applied to one candidate word (UTF-8), or nothing when it is acceptable.
bool accept_word(std::u32string_view word, Rejection* why = nullptr);

TokenizedText tokenize(std::string_view normalized);

}  // namespace ornav::corpus
