// Encoding one node. The choices decide the exact bytes of the file, so they follow the format's
// reference writer:
// - a final state without transitions or output is never written (address 0 stands for it);
// - a non-final node with one transition uses a one-transition state, in its shortest form (no
//   target, no output, no pack-size byte) when the transition leads to the node written just
//   before and carries no output;
// - every other node uses an any-transition state whose target distances and outputs all take the
//   widest size any of them needs; outputs are left out entirely when all are zero;
// - nodes with more than 32 transitions get a 256-byte input index;
// - an input byte among the 63 common ones goes into the state byte.
// A node's address is its last byte; readers decode backwards, so fields are written lowest first
// and a node's transitions in reverse order.
#include <array>

#include "fst_builder_node.h"
#include "fst_format.h"

namespace ornav::fst::detail {
namespace {

void put_packed(std::vector<std::uint8_t>& out, std::uint64_t value, unsigned size) {
  for (unsigned i = 0; i < size; ++i)
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Targets are stored as the distance down from the node's start; 0 keeps meaning "empty final".
std::uint64_t distance(std::uint64_t start, std::uint64_t target) {
  return target == format::kEmptyFinalAddress ? 0 : start - target;
}

void write_one_next(std::uint8_t input, std::vector<std::uint8_t>& out) {
  const std::uint8_t code = format::common_index(input);
  if (code == 0) out.push_back(input);
  out.push_back(format::kStateOneNext | code);
}

void write_one(const BuilderTransition& t, std::uint64_t start, std::vector<std::uint8_t>& out) {
  const unsigned osize = t.output == 0 ? 0 : format::pack_size(t.output);
  put_packed(out, t.output, osize);
  const std::uint64_t delta = distance(start, t.target);
  const unsigned tsize = format::pack_size(delta);
  put_packed(out, delta, tsize);
  out.push_back(static_cast<std::uint8_t>(tsize << 4 | osize));
  const std::uint8_t code = format::common_index(t.input);
  if (code == 0) out.push_back(t.input);
  out.push_back(format::kStateOne | code);
}

void write_any(const BuilderNode& node, std::uint64_t start, std::vector<std::uint8_t>& out) {
  const std::size_t n = node.trans.size();
  unsigned tsize = 0;
  unsigned osize = format::pack_size(node.final_output);
  bool any_outputs = node.final_output != 0;
  for (const auto& t : node.trans) {
    tsize = std::max(tsize, format::pack_size(distance(start, t.target)));
    osize = std::max(osize, format::pack_size(t.output));
    any_outputs = any_outputs || t.output != 0;
  }
  if (!any_outputs) osize = 0;

  if (any_outputs) {
    if (node.is_final) put_packed(out, node.final_output, osize);
    for (auto t = node.trans.rbegin(); t != node.trans.rend(); ++t)
      put_packed(out, t->output, osize);
  }
  for (auto t = node.trans.rbegin(); t != node.trans.rend(); ++t) {
    put_packed(out, distance(start, t->target), tsize);
  }
  for (auto t = node.trans.rbegin(); t != node.trans.rend(); ++t)
    out.push_back(t->input);
  if (n > format::kIndexThreshold) {
    // Entry = transition number for that input; 255 (or anything >= the count) = none.
    std::array<std::uint8_t, 256> index;
    index.fill(255);
    for (std::size_t i = 0; i < n; ++i)
      index[node.trans[i].input] = static_cast<std::uint8_t>(i);
    out.insert(out.end(), index.begin(), index.end());
  }
  out.push_back(static_cast<std::uint8_t>(tsize << 4 | osize));
  std::uint8_t state = node.is_final ? format::kStateFinal : 0;
  if (n >= 1 && n <= format::kLowSix) {
    state |= static_cast<std::uint8_t>(n);
  } else {
    // Counts the state byte cannot hold sit in the byte before it; 256 is stored as 1, which is
    // otherwise impossible there.
    out.push_back(n == 256 ? 1 : static_cast<std::uint8_t>(n));
  }
  out.push_back(state);
}

}  // namespace

std::uint64_t write_node(const BuilderNode& node, std::uint64_t last_addr,
                         std::vector<std::uint8_t>& out) {
  const std::uint64_t start = out.size();
  if (node.trans.size() != 1 || node.is_final) {
    write_any(node, start, out);
  } else if (node.trans[0].target == last_addr && node.trans[0].output == 0) {
    write_one_next(node.trans[0].input, out);
  } else {
    write_one(node.trans[0], start, out);
  }
  return out.size() - 1;
}

}  // namespace ornav::fst::detail
