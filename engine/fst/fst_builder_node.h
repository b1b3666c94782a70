// A node as the builder holds it before it is written: its finality, final output and
// transitions (in increasing input order) to nodes already written.
#pragma once

#include <cstdint>
#include <vector>

namespace ornav::fst::detail {

struct BuilderTransition {
  std::uint8_t input = 0;
  std::uint64_t output = 0;
  std::uint64_t target = 0;  // address of an already written node (0 = empty final state)

  friend bool operator==(const BuilderTransition&, const BuilderTransition&) = default;
};

struct BuilderNode {
  bool is_final = false;
  std::uint64_t final_output = 0;
  std::vector<BuilderTransition> trans;

  friend bool operator==(const BuilderNode&, const BuilderNode&) = default;

  void reset(bool final_state) {
    is_final = final_state;
    final_output = 0;
    trans.clear();  // keeps the capacity: unfinished nodes are reused for every key
  }
};

// Appends the node's encoding to `out`. The node starts at out.size() (its "start address"); the
// returned address is that of its last byte. `last_addr` is the address of the node written just
// before, which a lone transition to it can omit.
std::uint64_t write_node(const BuilderNode& node, std::uint64_t last_addr,
                         std::vector<std::uint8_t>& out);

}  // namespace ornav::fst::detail
