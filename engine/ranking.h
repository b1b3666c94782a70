// Candidate generation and ranking: the words for the current composing buffer (prefix mode) or
// the words that follow the context word (prediction mode), best first.
//
// All ranking goes through rank_candidates(), so any faster path can be swapped in behind it and
// checked against the plain reference in ranking_differential_test.cpp on identical output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "freq_tsv.h"
#include "fst/fst_map.h"

namespace ornav {

inline constexpr std::uint64_t bigram_weight = 100;
inline constexpr std::uint64_t user_weight = 100000;
inline constexpr std::uint64_t exact_match_bonus = std::uint64_t{1} << 50;
inline constexpr std::size_t list_limit = 50;
inline constexpr char pair_separator = '\x1F';

// Everything the ranking reads. Nothing here is changed by ranking.
struct RankingInput {
  const fst::Map& unigram;
  const fst::Map& bigram;
  std::string_view buffer;
  const std::optional<std::string>& prev_word;
  const FreqTable& user_freq;
  const FreqTable& extra_dict;
};

// Buffers kept between calls so a keystroke allocates (almost) nothing.
struct RankingScratch {
  struct Slot {
    std::size_t offset;  // into arena
    std::size_t size;
    std::uint64_t base;
  };
  struct Item {
    std::string_view word;
    std::uint64_t score;
  };
  std::string arena;
  std::vector<Slot> slots;
  std::vector<Item> items;
  std::vector<std::pair<std::string_view, std::uint64_t>> side;  // filtered extra / user entries
  std::unordered_map<std::string, std::uint64_t> lossy_table;    // only for keys with bad UTF-8
  std::vector<std::uint32_t> heap;
  std::string key;
};

// The ranked candidate list (at most list_limit words) for the state in `input`, into `out`.
// Prefix-mode words equal in score and character count are ordered by their bytes, so the list
// is the same on every call for the same state.
void rank_candidates(const RankingInput& input, RankingScratch& scratch,
                     std::vector<std::string>& out);

}  // namespace ornav
