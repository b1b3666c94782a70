// Decoding of compiled nodes, shared by lookups and streams.
//
// Invariants this relies on:
// - a node's address is its last byte (the state byte); nodes are read backwards from there;
// - address 0 is the empty final state: final, no transitions, output 0, no bytes of its own;
// - a transition's target is stored as a distance below the node's first byte (0 meaning the
//   empty final state), so every target lies strictly below the node that points to it. Targets
//   that would not are refused, which makes every walk through the nodes finite even for
//   hostile bytes;
// - every byte of the node area is followed by at least 8 readable bytes (the footer), so packed
//   integers inside a node are read with one 8-byte load.
// decode_node() checks that the whole node lies inside the node area; after that every read of
// its fields stays inside the node.
#pragma once

#include <cstdint>

#include "fst_format.h"

namespace ornav::fst::detail {

inline constexpr std::uint64_t kInvalidAddress = ~std::uint64_t{0};

// The bytes nodes may occupy: [begin, end), inside a buffer whose size is at least end + 8.
struct NodeArea {
  const std::uint8_t* data = nullptr;
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  std::uint64_t version = 0;
};

enum class NodeKind : std::uint8_t { empty_final, one_next, one, any };

struct Transition {
  std::uint8_t input = 0;
  std::uint64_t output = 0;
  std::uint64_t target = kInvalidAddress;  // kInvalidAddress when the stored distance is bad
};

struct Node {
  std::uint64_t addr = 0;
  std::uint64_t first = 0;  // lowest byte of the node; targets are measured down from here
  std::uint64_t final_output = 0;
  std::uint64_t inputs_end = 0;  // any-transition nodes: one past the highest input byte
  std::uint32_t ntrans = 0;
  NodeKind kind = NodeKind::empty_final;
  bool is_final = true;
  bool indexed = false;
  std::uint8_t tsize = 0;  // bytes per transition target distance
  std::uint8_t osize = 0;  // bytes per output
  Transition only;         // one-transition nodes: their transition
};

// A target distance read from the node, turned into an address below node.first.
inline std::uint64_t target_from_distance(const Node& node, std::uint64_t distance) {
  if (distance == 0) return format::kEmptyFinalAddress;
  return distance <= node.first ? node.first - distance : kInvalidAddress;
}

// Decodes the node at addr. False when addr is outside the area or the node's bytes are not a
// well-formed node lying entirely inside it.
[[gnu::always_inline]] inline bool decode_node(const NodeArea& area, std::uint64_t addr,
                                               Node* out) {
  Node& n = *out;
  n.addr = addr;
  if (addr == format::kEmptyFinalAddress) {
    n.first = 0;
    n.final_output = 0;
    n.ntrans = 0;
    n.kind = NodeKind::empty_final;
    n.is_final = true;
    n.indexed = false;
    return true;
  }
  if (addr < area.begin || addr >= area.end) return false;
  const std::uint8_t* d = area.data;
  const std::uint8_t state = d[addr];
  // The lowest usable byte position; every subtraction below is checked against it first.
  const std::uint64_t lowest = area.begin;
  n.final_output = 0;
  n.indexed = false;
  if ((state & 0b11'000000) == format::kStateOneNext ||
      (state & 0b11'000000) == format::kStateOne) {
    const std::uint8_t code = state & format::kLowSix;
    std::uint64_t p = addr;  // walks down over the node's bytes
    std::uint8_t input;
    if (code == 0) {
      if (p - 1 < lowest) return false;
      input = d[--p];
    } else {
      input = format::common_input(code);
    }
    n.is_final = false;
    n.ntrans = 1;
    n.only.input = input;
    if ((state & 0b11'000000) == format::kStateOneNext) {
      n.kind = NodeKind::one_next;
      n.tsize = n.osize = 0;
      n.first = p;
      n.only.output = 0;
      n.only.target = p - 1 >= lowest ? p - 1 : kInvalidAddress;
      return true;
    }
    if (p - 1 < lowest) return false;
    const std::uint8_t sizes = d[--p];
    const unsigned tsize = sizes >> 4, osize = sizes & 0x0F;
    if (tsize < 1 || tsize > 8 || osize > 8 || p < lowest + tsize + osize) return false;
    n.kind = NodeKind::one;
    n.tsize = static_cast<std::uint8_t>(tsize);
    n.osize = static_cast<std::uint8_t>(osize);
    n.first = p - tsize - osize;
    n.only.output = osize ? format::load_packed(d + n.first, osize) : 0;
    n.only.target = target_from_distance(n, format::load_packed(d + p - tsize, tsize));
    return true;
  }
  n.kind = NodeKind::any;
  n.is_final = (state & format::kStateFinal) != 0;
  std::uint64_t p = addr;
  unsigned ntrans = state & format::kLowSix;
  if (ntrans == 0) {
    if (p - 1 < lowest) return false;
    ntrans = d[--p];
    // One transition always fits in the state byte, so a stored 1 stands for 256.
    if (ntrans == 1) ntrans = 256;
  }
  if (p - 1 < lowest) return false;
  const std::uint8_t sizes = d[--p];
  const unsigned tsize = sizes >> 4, osize = sizes & 0x0F;
  if (tsize > 8 || osize > 8 || (ntrans > 0 && tsize == 0)) return false;
  n.indexed = area.version >= 2 && ntrans > format::kIndexThreshold;
  const std::uint64_t span = (n.indexed ? 256u : 0u) + std::uint64_t{ntrans} * (1 + tsize + osize) +
                             (n.is_final ? osize : 0u);
  if (p < lowest + span) return false;
  n.ntrans = ntrans;
  n.tsize = static_cast<std::uint8_t>(tsize);
  n.osize = static_cast<std::uint8_t>(osize);
  n.inputs_end = p - (n.indexed ? 256u : 0u);
  n.first = p - span;
  if (n.is_final && osize != 0) n.final_output = format::load_packed(d + n.first, osize);
  return true;
}

// Transition i (< node.ntrans) of a node with transitions. Inputs, target distances and outputs of
// an any-transition node are stored in reverse transition order below the index.
inline Transition transition_at(const NodeArea& area, const Node& node, std::uint32_t i) {
  if (node.kind != NodeKind::any) return node.only;
  const std::uint8_t* d = area.data;
  const std::uint64_t n = node.ntrans;
  Transition t;
  t.input = d[node.inputs_end - 1 - i];
  const std::uint64_t targets_end = node.inputs_end - n;
  t.target = target_from_distance(
      node, format::load_packed(d + targets_end - (i + 1) * node.tsize, node.tsize));
  if (node.osize != 0) {
    const std::uint64_t outputs_end = targets_end - n * node.tsize;
    t.output = format::load_packed(d + outputs_end - (i + 1) * node.osize, node.osize);
  }
  return t;
}

// The transition of `node` labelled `input`; false when there is none.
inline bool find_transition(const NodeArea& area, const Node& node, std::uint8_t input,
                            Transition* out) {
  switch (node.kind) {
    case NodeKind::empty_final:
      return false;
    case NodeKind::one_next:
    case NodeKind::one:
      if (node.only.input != input) return false;
      *out = node.only;
      return true;
    case NodeKind::any:
      break;
  }
  const std::uint8_t* d = area.data;
  if (node.indexed) {
    const std::uint32_t i = d[node.inputs_end + input];
    // The index is trusted only as far as it names a transition with this very input.
    if (i >= node.ntrans || d[node.inputs_end - 1 - i] != input) return false;
    *out = transition_at(area, node, i);
    return true;
  }
  for (std::uint32_t i = 0; i < node.ntrans; ++i) {
    if (d[node.inputs_end - 1 - i] == input) {
      *out = transition_at(area, node, i);
      return true;
    }
  }
  return false;
}

}  // namespace ornav::fst::detail
