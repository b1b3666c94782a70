// Counts words and neighbouring word pairs over source strings.
//
// Every distinct normalised string is counted once, however many packages carry it (a "Cancel"
// button is translated in hundreds of catalogs and would otherwise drown real usage). A fixed,
// hash-chosen share of the distinct strings is held out for evaluation instead of counted.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace ornav::corpus {

// 64-bit FNV-1a with the MurmurHash3 finaliser: stable across runs, machines and library
// versions.
uint64_t stable_hash(std::string_view bytes);

struct SourceStats {
  uint64_t strings = 0;   // strings read from the source that contain at least one word
  uint64_t counted = 0;   // of those, first seen here and counted
  uint64_t held_out = 0;  // first seen here and held out (evaluation or development)
  uint64_t tokens = 0;    // words counted from this source
};

struct CounterTotals {
  uint64_t strings_seen = 0;      // strings with at least one word, duplicates included
  uint64_t distinct_strings = 0;  // counted + held out
  uint64_t held_out_strings = 0;
  uint64_t held_out_tokens = 0;
  uint64_t development_strings = 0;
  uint64_t development_tokens = 0;
  uint64_t tokens = 0;    // counted words
  uint64_t rejected = 0;  // letter runs that failed the word checks (counted strings)
  uint64_t rejected_bare_vowel = 0;
  uint64_t rejected_hamza = 0;
  uint64_t rejected_foreign = 0;
};

using PairKey = std::pair<std::string, std::string>;

class CorpusCounter {
 public:
  enum class Outcome { kCounted, kHeldOut, kDevelopment, kDuplicate, kNoWords };

  // heldout_every = N holds out the strings whose hash is divisible by N; 0 holds out nothing.
  // With `development` set, the strings whose hash leaves 1 (divided by N) are kept apart as
  // well: the text on which the shaping of the counts is fitted, so the held-out text only ever
  // judges it.
  explicit CorpusCounter(uint32_t heldout_every = 20, bool development = false)
      : heldout_every_(heldout_every), development_(development) {}

  Outcome add(std::string_view raw, const std::string& source);

  const std::map<std::string, uint64_t>& words() const { return words_; }
  const std::map<PairKey, uint64_t>& pairs() const { return pairs_; }
  // How often each word opened a run of neighbours (after a placeholder, a Latin name,
  // punctuation or the start of the string).
  const std::map<std::string, uint64_t>& run_starts() const { return run_starts_; }
  const std::vector<std::string>& held_out() const { return held_out_; }
  const std::vector<std::string>& development() const { return development_text_; }
  const std::map<std::string, SourceStats>& sources() const { return sources_; }
  const CounterTotals& totals() const { return totals_; }

 private:
  uint32_t heldout_every_;
  bool development_;
  std::unordered_set<std::string> seen_;
  std::map<std::string, uint64_t> words_;
  std::map<PairKey, uint64_t> pairs_;
  std::map<std::string, uint64_t> run_starts_;
  std::vector<std::string> held_out_;
  std::vector<std::string> development_text_;
  std::map<std::string, SourceStats> sources_;
  CounterTotals totals_;
};

}  // namespace ornav::corpus
