// Builds the ranking index (ranking_index_format.h) for a dictionary's two maps, by walking each
// map once. The dictionary tool writes it next to the maps it builds; an engine whose maps came
// without a usable one builds it in the background (background_index.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "fst/fst_map.h"

namespace ornav {

struct IndexParams {
  // Prefixes with more keys than this get a list of their first `prefix_list_limit` words; the
  // others are small enough to walk on every keystroke.
  std::uint32_t prefix_threshold = 64;
  std::uint32_t prefix_list_limit = 64;
  // Prefixes with more keys than this get `long_list_limit` words: after a context word with many
  // pairs, a longer list spares walking the many pairs under a short prefix.
  std::uint32_t long_list_threshold = 2048;
  std::uint32_t long_list_limit = 256;
  // Context words with more pairs than this get a list of their first `context_list_limit`
  // continuations, and so do the prefixes of their continuations with more pairs than this (of
  // `prefix_list_limit` words, in their ranking order after the context word).
  std::uint32_t context_threshold = 128;
  std::uint32_t context_list_limit = 128;

  // For maps of these sizes: a map small enough to stay in the processor's caches is walked
  // several times faster than one that is not, so its prefixes and contexts may be larger before
  // they need a list (and the index stays small next to small maps).
  static IndexParams for_maps(const fst::Map& unigram, const fst::Map& bigram);
};

// The index bytes; empty when either map has no stored checksum to bind the index to (format
// versions before 3), when the limits are zero, or when `stop` became true on the way (checked
// every few thousand keys, so a build stops within a millisecond or so).
std::optional<std::vector<std::uint8_t>> build_ranking_index(
    const fst::Map& unigram, const fst::Map& bigram, const IndexParams& params,
    const std::atomic<bool>* stop = nullptr);
// With IndexParams::for_maps(unigram, bigram).
std::optional<std::vector<std::uint8_t>> build_ranking_index(const fst::Map& unigram,
                                                             const fst::Map& bigram);

}  // namespace ornav
