// Where a dictionary's ranking index is looked for and kept: beside the maps as ranking.idx, or,
// when that folder cannot be written, in the user's cache folder under a name made of both maps'
// identities (size, key count, root address, stored checksum), so that the indexes of several
// dictionaries live side by side there. Either file is used only after the same validation
// (ranking_index.h): a name that matches proves nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fst/fst_map.h"
#include "ranking_index.h"

namespace ornav {

inline constexpr std::string_view ranking_index_file = "ranking.idx";

// $XDG_CACHE_HOME/Ornavel (an absolute XDG_CACHE_HOME only), else ~/.cache/Ornavel; on macOS
// ~/Library/Caches/Ornavel. Nothing without a home folder.
std::optional<std::string> index_cache_dir();

// "ranking-<unigram identity>-<bigram identity>.idx"; nothing for maps without a stored checksum,
// which no index can be bound to.
std::optional<std::string> cached_index_name(const fst::Map& unigram, const fst::Map& bigram);

// Both places for these maps: beside them, then in the cache (when there is one).
struct IndexPlaces {
  std::string beside;
  std::optional<std::string> cached;
};
IndexPlaces index_places(std::string_view dict_dir, const fst::Map& unigram,
                         const fst::Map& bigram);

// The index in the file at `path`, mapped, if it is valid for these maps.
std::optional<RankingIndex> open_index_file(const std::string& path, const fst::Map& unigram,
                                            const fst::Map& bigram);
// The first valid index of the places.
std::optional<RankingIndex> find_index(const IndexPlaces& places, const fst::Map& unigram,
                                       const fst::Map& bigram);

}  // namespace ornav
