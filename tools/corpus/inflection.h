// Inflected forms of the corpus's own words, so that a word seen in one form is offered in its
// others.
//
// Uyghur appends suffixes (plural, possessive, case, tense, person ...) whose vowels follow the
// stem's vowels (vowel harmony: كىتاب+لار but دەپتەر+لەر), whose first consonant follows the
// stem's last sound (يۇرت+قا but ئۆي+گە), with sound changes at the joint (ق becomes غ and ك
// becomes گ before a vowel, a final ا or ە becomes ى: بالا → بالىسى). Rather than a hand-written
// grammar, the rules are learned from word families in the corpus: words that share a stem of at
// least `min_stem` letters and differ in endings of at most `max_ending` letters. A rule reads
// "after a stem of harmony class H whose last letter is L, the ending E1 may become E2"; the
// harmony class and the last letter are what choose between the variants of a suffix and the
// sound changes, so a rule learned on back stems is never applied to front ones. A rule is kept
// when at least `min_support` stems show both endings; its reliability is the share of stems with
// E1 that also show E2.
//
// Every word then proposes its forms, each with an expected count (the word's count times the
// rule's reliability, the best over all rules that make the form); the `limit` most expected
// forms that are not corpus words are kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::corpus {

enum class Harmony { kBack, kFront, kNeutral };

// A word's harmony class: its last back (ا و ۇ) or front (ە ۆ ۈ) vowel decides; a word with
// only ى and ې is back when it has ق غ خ, front when it has ك گ, neutral otherwise.
Harmony vowel_harmony(std::u32string_view word);

struct InflectionOptions {
  size_t min_stem = 3;       // letters of the shared stem
  size_t max_ending = 5;     // letters of each ending
  size_t max_endings = 60;   // a stem with more endings is a prefix, not a stem: ignored
  uint64_t min_support = 3;  // stems that must show a rule
  size_t limit = 200000;     // forms kept
};

struct EndingRule {
  Harmony harmony;
  char32_t last;  // last letter of the stem
  std::u32string from, to;
  uint64_t support;    // stems showing both endings
  double reliability;  // support / stems showing `from`
};

// Rules in a fixed order (harmony, last letter, from, to).
std::vector<EndingRule> learn_ending_rules(const std::map<std::string, uint64_t>& words,
                                           const InflectionOptions& options);

// Forms that are not in `words`, with their expected counts; at most options.limit of them,
// the most expected first (ties broken by the form's bytes, so the choice never varies).
std::map<std::string, double> generate_forms(const std::map<std::string, uint64_t>& words,
                                             const std::vector<EndingRule>& rules,
                                             const InflectionOptions& options);

}  // namespace ornav::corpus
