// Measures how well a dictionary predicts held-out text by replaying it as a user who types each
// word letter by letter and takes it as soon as it shows in the first row of candidates.
//
// The ranking follows the engine's: in prefix mode, corpus count + 100 x pair count after the
// previous word + 100000 x the user's picks, with a large bonus for the word equal to what was
// typed; ties go to the shorter word, then to byte order. Right after a word, the continuations
// of that word are offered before any letter is typed. Taking a candidate costs one key (it also
// inserts the space); typing a word out costs its letters plus the space.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "corpus_counter.h"

namespace ornav::corpus {

struct EvaluationOptions {
  bool learning = true;  // count the user's picks as the engine does
  size_t row = 5;        // candidates visible without paging
  // Words that are replayed (they learn and give context) but left out of every figure: the
  // detached suffixes of template strings, which a user would write joined to the word before.
  std::set<std::string> unscored;
};

struct EvaluationResult {
  uint64_t words = 0;
  uint64_t unknown_words = 0;  // not in the dictionary at all
  uint64_t keys_without = 0;   // letters + spaces typed without prediction
  uint64_t keys_with = 0;
  uint64_t predicted_words = 0;  // taken from the continuations before any letter
  uint64_t completed_words = 0;  // taken after one or more letters, before the last
  double savings() const {
    return keys_without == 0 ? 0.0 : 1.0 - static_cast<double>(keys_with) / keys_without;
  }
  double unknown_rate() const {
    return words == 0 ? 0.0 : static_cast<double>(unknown_words) / words;
  }
};

// `lines` are normalised text, one source string each (the held-out file).
EvaluationResult evaluate(const std::map<std::string, uint64_t>& words,
                          const std::map<PairKey, uint64_t>& pairs,
                          const std::vector<std::string>& lines,
                          const EvaluationOptions& options = {});

}  // namespace ornav::corpus
