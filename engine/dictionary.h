// The read-only part of an engine: the two maps of a dictionary directory and, when there is a
// valid one for them, the ranking index.
//
// Engines of one process over the same maps share one Dictionary: the files are mapped and
// checked once (footers, roots and the index; not the maps' whole-file checksums), and a further
// engine costs a few system calls. Maps are recognised by device, inode, size and modification
// and change times, so a dictionary that is replaced on disk is opened afresh for engines created
// afterwards, while older engines keep the one they have.
//
// The index is looked for beside the maps and in the user's cache folder (index_places.h). When
// neither holds a valid one, the dictionary builds it in the background (background_index.h) and
// engines rank without it until it is ready, with the same results.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "background_index.h"
#include "fst/fst_map.h"
#include "page_warmer.h"
#include "ranking_index.h"

namespace ornav {

inline constexpr std::string_view unigram_file = "unigram.fst";
inline constexpr std::string_view bigram_file = "bigram.fst";

struct Dictionary {
  fst::Map unigram;
  fst::Map bigram;
  // The index found when the dictionary was opened.
  std::optional<RankingIndex> found_index;
  // Builds one when none was found; it stops, and its thread ends, before the maps go.
  std::unique_ptr<BackgroundIndex> background_index;
  // Reads the files' pages in the background; last, so that it stops before the rest goes.
  std::unique_ptr<PageWarmer> warmer;

  // The index in use: the one found, or the one built once it is ready; null otherwise. Engines
  // on any thread may ask at any time.
  const RankingIndex* index() const {
    if (found_index) return &*found_index;
    return background_index ? background_index->index() : nullptr;
  }
  // Blocks until the index is in use or none will come (tests and benchmarks).
  void wait_for_index() const {
    if (background_index) background_index->wait();
  }
};

// Null when either map cannot be read or is not a valid map. Safe to call from several threads.
std::shared_ptr<const Dictionary> open_dictionary(std::string_view dict_dir);

}  // namespace ornav
