// The read-only part of an engine: the two maps of a dictionary directory and, when the directory
// holds a valid one for them, the ranking index.
//
// Engines of one process over the same files share one Dictionary: the files are mapped and
// checked once (footers, roots and the index; not the maps' whole-file checksums), and a further
// engine costs a few system calls. Files are recognised by device,
// inode, size and modification and change times, so a dictionary that is replaced on disk is
// opened afresh for engines created afterwards, while older engines keep the one they have.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "fst/fst_map.h"
#include "page_warmer.h"
#include "ranking_index.h"

namespace ornav {

inline constexpr std::string_view unigram_file = "unigram.fst";
inline constexpr std::string_view bigram_file = "bigram.fst";
inline constexpr std::string_view ranking_index_file = "ranking.idx";

struct Dictionary {
  fst::Map unigram;
  fst::Map bigram;
  std::optional<RankingIndex> index;  // absent: missing, damaged or built for other maps
  // Reads the files' pages in the background; last, so that it stops before the rest goes.
  std::unique_ptr<PageWarmer> warmer;
};

// Null when either map cannot be read or is not a valid map. Safe to call from several threads.
std::shared_ptr<const Dictionary> open_dictionary(std::string_view dict_dir);

}  // namespace ornav
