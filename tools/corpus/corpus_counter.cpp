#include "corpus_counter.h"

#include "normalize.h"
#include "tokenize.h"

namespace ornav::corpus {

uint64_t stable_hash(std::string_view bytes) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  // FNV's low bits depend only on the low bits of the input bytes; the finaliser spreads every
  // input bit over the whole word, so "hash % 20" picks an unbiased share.
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ull;
  h ^= h >> 33;
  return h;
}

CorpusCounter::Outcome CorpusCounter::add(std::string_view raw, const std::string& source) {
  std::string text = normalize_text(raw);
  TokenizedText tokens = tokenize(text);
  if (tokens.runs.empty()) return Outcome::kNoWords;
  SourceStats& stats = sources_[source];
  ++stats.strings;
  ++totals_.strings_seen;
  if (!seen_.insert(text).second) return Outcome::kDuplicate;
  ++totals_.distinct_strings;

  uint64_t word_count = 0;
  for (const auto& run : tokens.runs)
    word_count += run.size();
  const uint64_t bucket = heldout_every_ == 0 ? 1 : stable_hash(text) % heldout_every_;
  if (heldout_every_ != 0 && bucket == 0) {
    ++stats.held_out;
    ++totals_.held_out_strings;
    totals_.held_out_tokens += word_count;
    held_out_.push_back(std::move(text));
    return Outcome::kHeldOut;
  }
  if (development_ && heldout_every_ > 1 && bucket == 1) {
    ++stats.held_out;
    ++totals_.development_strings;
    totals_.development_tokens += word_count;
    development_text_.push_back(std::move(text));
    return Outcome::kDevelopment;
  }

  ++stats.counted;
  stats.tokens += word_count;
  totals_.tokens += word_count;
  totals_.rejected += tokens.rejected;
  totals_.rejected_bare_vowel += tokens.rejected_bare_vowel;
  totals_.rejected_hamza += tokens.rejected_hamza;
  totals_.rejected_foreign += tokens.rejected_foreign;
  for (const auto& run : tokens.runs) {
    ++run_starts_[run.front()];
    for (size_t i = 0; i < run.size(); ++i) {
      ++words_[run[i]];
      if (i + 1 < run.size()) ++pairs_[{run[i], run[i + 1]}];
    }
  }
  return Outcome::kCounted;
}

}  // namespace ornav::corpus
