// Remembers recently written nodes so that an identical node is written once and shared: this is
// what merges common key suffixes. The table is bounded (rows x 2 cells, least recently used cell
// evicted), so memory stays constant however many keys are added, at the price of missing some
// merges in very large maps. The row of a node is an FNV-1a hash of its finality, final output and
// transitions; row count and hash match the format's reference writer, so the same keys give the
// same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "fst_builder_node.h"

namespace ornav::fst::detail {

class Registry {
 public:
  explicit Registry(std::size_t rows = 10'000);

  // The address of a node equal to `node` when one is remembered. Otherwise remembers `node` in
  // the slot that will receive its address through remember_address(), which must follow.
  std::optional<std::uint64_t> find_or_reserve(const BuilderNode& node);
  void remember_address(std::uint64_t addr) { cells_[pending_].addr = addr; }

 private:
  struct Cell {
    std::uint64_t addr = kNoAddress;
    std::uint64_t hash =
        0;  // full hash of node: most mismatches are settled without its transitions
    BuilderNode node;
  };
  // 1 can never be a node's address (the header occupies 0..15), so it marks an unused cell.
  static constexpr std::uint64_t kNoAddress = 1;

  static std::uint64_t hash_of(const BuilderNode& node);

  std::vector<Cell> cells_;  // row r holds cells 2r (most recently used) and 2r+1
  std::size_t rows_;
  std::size_t pending_ = 0;
};

}  // namespace ornav::fst::detail
