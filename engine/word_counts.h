// The entries of a FreqTable in the byte order of their words, with a tree of count maxima over
// them, so that the words under a prefix are one binary search away and can be visited from the
// highest count down, stopping as soon as the rest cannot matter.
//
// Holds views of the table's keys, which stay valid while entries are added (the table's nodes
// never move); after the table is replaced, rebuild().
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "freq_tsv.h"

namespace ornav {

class WordCounts {
 public:
  struct Entry {
    std::string_view word;
    std::uint64_t count = 0;
  };
  // With `hashed`, also keeps every word's continuation hash (ranking_index_format.h) in order,
  // so that the words which may follow a context word are found by one walk along its hashes.
  explicit WordCounts(bool hashed = false) : hashed_(hashed) {}

  void rebuild(const FreqTable& table);
  // Sets the count of `word`, a key of the table viewed in place, adding the word when new.
  void set(std::string_view word, std::uint64_t count);

  std::span<const Entry> entries() const { return entries_; }
  // (hash, position) of every entry, by hash; empty unless `hashed`.
  std::span<const std::pair<std::uint32_t, std::uint32_t>> by_hash() const { return by_hash_; }
  // The positions [first, last) of the words that begin with `prefix`.
  std::pair<std::size_t, std::size_t> range(std::string_view prefix) const;

  // Visits the entries at positions [first, last) from the highest count down (equal counts in
  // no particular order). `heap` is scratch space the caller keeps between visits.
  class Descending {
   public:
    using Heap = std::vector<std::pair<std::uint64_t, std::uint32_t>>;
    Descending(const WordCounts& counts, std::pair<std::size_t, std::size_t> range, Heap& heap);
    // The next entry, or null when all were visited.
    const Entry* next();

   private:
    void push(std::uint32_t node);
    const WordCounts& counts_;
    Heap& heap_;
  };

 private:
  std::uint32_t better(std::uint32_t a, std::uint32_t b) const {
    return entries_[b].count > entries_[a].count ? b : a;
  }
  void adopt(std::vector<Entry> entries);

  std::vector<Entry> entries_;
  // tree_[n + i] is entry i; tree_[k] the entry with the highest count under node k (children
  // 2k and 2k + 1). Entries are the leaves; positions refer to entries_.
  std::vector<std::uint32_t> tree_;
  bool hashed_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> by_hash_;
};

}  // namespace ornav
