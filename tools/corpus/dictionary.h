// Turns raw counts into the dictionary that ships: filters, pruning, the shaping of the values for
// the typist, and the two TSV files from which the maps are built.
//
// unigram.tsv: "word TAB count LF", sorted by the word's UTF-8 bytes.
// bigram.tsv:  "first TAB second TAB count LF", sorted by the bytes of the map key
//              first U+001F second (for words of Uyghur letters this is first, then second).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "corpus_counter.h"

namespace ornav::corpus {

enum class SuffixPolicy {
  kKeep,    // suffix tokens keep their counts
  kDemote,  // suffix tokens stay in the dictionary with count 1 and take part in no pair
  kDrop,    // suffix tokens and their pairs leave the dictionary
};

struct DictionaryOptions {
  uint64_t min_pair_count = 2;      // pairs seen fewer times are dropped
  bool drop_single_letters = true;  // one-letter tokens are abbreviations, not words
  SuffixPolicy suffixes = SuffixPolicy::kDemote;
  std::set<std::string> suffix_words;  // which tokens count as detached suffixes
  // Words from a plain word list, added with word_list_count (at least 1: the maps hold no zero
  // counts) when the corpus lacks them.
  std::vector<std::string> word_list;
  uint64_t word_list_count = 1;

  // Shaping. The engine adds 100 x the pair count to a word's count in prefix mode, ranks
  // predictions by the pair count alone, and adds 100000 per earlier pick in both modes; the
  // shipped values only have to keep the order that serves the typist under those weights. A word
  // seen c times ships as c x word_scale, a pair seen p times as p x pair_scale (both saturate).
  uint64_t word_scale = 1;
  uint64_t pair_scale = 1;
  // Inflected forms generated from the corpus words (inflection.h) with their expected counts.
  // Like the word list they fill gaps only, and ship below every word that was seen:
  // expected x word_scale x generated_weight, at least 1 and under word_scale.
  std::map<std::string, double> generated;
  double generated_weight = 0.1;
};

// The value a form without a sighting ships with (see DictionaryOptions::generated).
uint64_t unattested_value(double expected, uint64_t word_scale, double weight);

// Case and plural endings that translators write as separate words after placeholders and
// names ("%s نى", "Firefox نىڭ").
std::set<std::string> default_suffix_words();

struct DictionaryStats {
  uint64_t words_before = 0;
  uint64_t pairs_before = 0;
  uint64_t single_letters_dropped = 0;
  uint64_t suffixes_changed = 0;
  uint64_t word_list_added = 0;
  uint64_t generated_added = 0;
};

struct Dictionary {
  std::map<std::string, uint64_t> words;
  std::map<PairKey, uint64_t> pairs;
  DictionaryStats stats;
};

Dictionary build_dictionary(const std::map<std::string, uint64_t>& words,
                            const std::map<PairKey, uint64_t>& pairs,
                            const DictionaryOptions& options);

std::string unigram_tsv(const Dictionary& dict);
std::string bigram_tsv(const Dictionary& dict);

// Reading the files back (the evaluator uses them). Lines that do not parse are skipped.
std::map<std::string, uint64_t> parse_unigram_tsv(std::string_view text);
std::map<PairKey, uint64_t> parse_bigram_tsv(std::string_view text);

// The entries of a plain word list (one per line) that normalise to exactly one acceptable word.
std::vector<std::string> read_word_list(std::string_view text);

}  // namespace ornav::corpus
