// Turning the two count files into the dictionary directory's two maps.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "count_file.h"
#include "fst_map.h"

namespace ornav::dict {

// Map bytes for entries in strictly ascending key order; nothing when the order is broken.
std::optional<std::vector<std::uint8_t>> buildMapBytes(const std::vector<CountEntry>& entries);

struct BuildOutcome {
  enum class Status { ok, bad_input, io_error } status = Status::ok;
  std::size_t words = 0;
  std::size_t pairs = 0;
};

// Reads both count files, reports every problem to `log` as "file:line: message", and only when
// both files are clean writes OUTDIR/unigram.fst and OUTDIR/bigram.fst (each replaced whole, so
// a failed build leaves the previous maps intact), then the engine's ranking index
// OUTDIR/ranking.idx for them.
BuildOutcome buildDictionary(const std::filesystem::path& unigram_tsv,
                             const std::filesystem::path& bigram_tsv,
                             const std::filesystem::path& out_dir, std::ostream& log);

// Writes DIR/ranking.idx, the engine's ranking index for these two maps of DIR (replaced whole),
// and reports it to `log`; false, with the reason in `log`, when it cannot be written.
bool writeRankingIndex(const std::filesystem::path& dir, const fst::Map& unigram,
                       const fst::Map& bigram, std::ostream& log);

}  // namespace ornav::dict
