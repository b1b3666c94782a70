// Candidate ranking that gives exactly the list of rank_candidates() (ranking.h) without visiting
// every word under the buffer.
//
// Words that nothing but their corpus count raises ("plain" words) rank among themselves by the
// order (count descending, fewer characters first, bytes ascending). The ranking index lists the
// first words of every large prefix in that order, so the first plain words of a full list are
// the first of that list. After a context word with many pairs under the buffer, the index also
// lists the first words that have a pair with it in their order with the pair counted, and the two
// lists are merged. Every other word under the buffer is raised by something known: a pick (user
// table), a cloud count (extra table), the exact match, or a walked pair with the context word.
// Those are scored exactly, or dropped when an upper bound on their score proves that 50 words
// already rank before them. The bounds and why they hold are in fast_ranking.cpp; where one
// cannot be had cheaply the plain ranking runs instead.
//
// Prediction mode works the same way over the index's first continuations of a context word;
// only picks raise a continuation there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fst/fst_map.h"
#include "ranking.h"
#include "ranking_index.h"
#include "word_counts.h"

namespace ornav {

// What the fast path reads besides RankingInput: the index (null when there is none) and the
// user and cloud tables in byte order with their counts (the same tables as in RankingInput).
struct RankingAids {
  const RankingIndex* index = nullptr;
  const WordCounts& user_counts;
  const WordCounts& extra_counts;
};

class FastRanker {
 public:
  // The same list as rank_candidates(input, ...), into `out`.
  void rank(const RankingInput& input, const RankingAids& aids, std::vector<std::string>& out);

  // How the last call was answered (benchmarks and tests look at it).
  enum class Route { none, indexed_prefix, walked_prefix, indexed_prediction, plain };
  Route last_route() const { return route_; }
  // Running totals of the less common steps, so tests can show they were taken.
  struct Counts {
    std::uint64_t merged_context = 0;    // prefix mode: listed pair words merged into the list
    std::uint64_t dropped_by_bound = 0;  // words left out by their score bound
    std::uint64_t stopped_early = 0;     // visits of picks or cloud words ended by a bound
  };
  const Counts& counts() const { return counts_; }

 private:
  struct Scored {
    std::string_view word;
    std::uint64_t score;
    std::uint32_t chars;
  };
  struct Pair {
    std::string_view word;
    std::uint64_t count;
  };

  bool rank_prefix(const RankingInput& in, const RankingAids& aids, std::vector<std::string>& out);
  bool rank_prediction(const RankingInput& in, const RankingAids& aids,
                       std::vector<std::string>& out);
  bool walk_list(const fst::Map& unigram, std::string_view prefix, std::size_t limit);
  // Reads (and checks) a context prefix list into ranked_pairs_ and members_.
  bool read_context_prefix(const RankingIndex& index, const RankingIndex::ContextPrefixList& list,
                           std::string_view buffer);
  void stream_pairs(const fst::Map& bigram, std::string_view context, std::string_view prefix);
  // Items: everything scored exactly. `top_` keeps the best 50 of them under `before`.
  template <typename Before>
  void note(std::string_view word, std::uint64_t score, Before before);
  template <typename Before>
  bool emit(Before before, std::vector<std::string>& out);

  RankingScratch plain_;
  Route route_ = Route::none;
  Counts counts_;
  // Reused between calls, so a keystroke allocates (almost) nothing.
  std::vector<Scored> items_;
  std::vector<std::uint32_t> top_;  // heap of item positions; the front is the 50th best
  std::vector<std::string_view> processed_;
  std::vector<Scored> walked_;  // every key under a small prefix; put in plain order as needed
  std::string walked_text_;
  std::vector<std::size_t> ends_;
  std::vector<Pair> pairs_;                // pairs of the context under the buffer, by word
  std::vector<Scored> ranked_pairs_;       // listed pair words under the buffer, in base order
  std::vector<std::string_view> members_;  // the same words, by their bytes
  std::string pair_text_;
  std::string key_;
  std::vector<std::uint32_t> order_;
  WordCounts::Descending::Heap visit_;
};

}  // namespace ornav
