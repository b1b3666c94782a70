// The two cells of a row are kept in most-recently-used order: a hit moves its cell to the front,
// a miss overwrites the back cell and moves it to the front.
#include "fst_registry.h"

#include <utility>

namespace ornav::fst::detail {

Registry::Registry(std::size_t rows) : cells_(2 * rows), rows_(rows) {}

std::uint64_t Registry::hash_of(const BuilderNode& node) {
  constexpr std::uint64_t kPrime = 1099511628211u;
  std::uint64_t h = 14695981039346656037u;
  const auto mix = [&h](std::uint64_t v) { h = (h ^ v) * kPrime; };
  mix(node.is_final ? 1 : 0);
  mix(node.final_output);
  for (const auto& t : node.trans) {
    mix(t.input);
    mix(t.output);
    mix(t.target);
  }
  return h;
}

std::optional<std::uint64_t> Registry::find_or_reserve(const BuilderNode& node) {
  const std::uint64_t hash = hash_of(node);
  const std::size_t base = 2 * static_cast<std::size_t>(hash % rows_);
  Cell& recent = cells_[base];
  Cell& older = cells_[base + 1];
  const auto holds = [&](const Cell& c) {
    return c.addr != kNoAddress && c.hash == hash && c.node == node;
  };
  if (holds(recent)) return recent.addr;
  if (holds(older)) {
    std::swap(recent, older);  // now the most recently used
    return recent.addr;
  }
  // Evict the least recently used cell and make it the most recent one.
  older.hash = hash;
  older.node.is_final = node.is_final;
  older.node.final_output = node.final_output;
  older.node.trans.assign(node.trans.begin(), node.trans.end());
  std::swap(recent, older);
  pending_ = base;
  return std::nullopt;
}

}  // namespace ornav::fst::detail
