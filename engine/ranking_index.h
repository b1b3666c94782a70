// Reader of the ranking index (layout in ranking_index_format.h): precomputed first words of
// large key prefixes, first continuations of context words with many pairs, and first words under
// the large prefixes of those continuations in their ranking order after the context word.
//
// The index is optional. Opening validates it before anything uses it: its checksum, that it was
// built for exactly these two maps, that every record, entry and text lies inside the file and
// that records and hashes are sorted. An index that fails any check is not used, and ranking works
// from the maps alone, with the same results. The contents of the lists (their order, their words
// being under their prefix and valid UTF-8) are checked by their user (fast_ranking.cpp) on the
// entries it reads; a list that breaks them makes that ranking fall back to the maps.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "fst/fst_map.h"

namespace ornav {

enum class IndexError {
  too_short,  // shorter than a header and checksum
  bad_magic,  // not a ranking index
  unknown_version,
  bad_checksum,  // bytes damaged
  other_maps,    // built for different maps (or for maps without a stored checksum)
  bad_layout,    // header counts and sizes disagree with the file size
  bad_record,    // a record or entry outside the file, unsorted, or not valid UTF-8
};

const char* describe(IndexError error);

// One word of a list: a corpus count in prefix lists, a pair count in context lists.
struct IndexEntry {
  std::string_view word;
  std::uint64_t count = 0;
};

class RankingIndex {
 public:
  struct List {
    std::uint32_t first = 0;  // entry index
    std::uint32_t size = 0;
  };
  // The listed first words of a prefix; `complete` when they are all the keys under it.
  struct PrefixList : List {
    std::uint64_t key_count = 0;
    bool complete() const { return key_count == size; }
  };
  // The listed first continuations of a context word; every pair not listed has a count of at
  // most `rest_max`.
  struct ContextList : List {
    std::uint64_t pair_count = 0;
    std::uint64_t rest_max = 0;
    std::uint64_t first_hash = 0;  // pair_count hashes from here
    std::uint32_t record = 0;      // which context this is
    bool complete() const { return pair_count == size; }
  };
  // The listed first continuations of a context word under a prefix that are words of the word
  // map, by corpus count + 100 x pair count; `complete` when they are all of them.
  struct ContextPrefixList : List {
    std::uint32_t word_count = 0;
    bool complete() const { return word_count == size; }
  };

  // Validates `bytes` (kept valid by `owner`) against the two maps; empty, with *why set, when
  // the index cannot be used.
  static std::optional<RankingIndex> open(std::span<const std::uint8_t> bytes,
                                          std::shared_ptr<const void> owner,
                                          const fst::Map& unigram, const fst::Map& bigram,
                                          IndexError* why = nullptr);

  // The list of exactly this prefix (byte-wise), if the prefix has one.
  std::optional<PrefixList> prefix(std::string_view text) const;
  // The list of exactly this context word, if it has one.
  std::optional<ContextList> context(std::string_view word) const;
  // The list of the context's continuations under exactly this prefix, if it has one. Every
  // prefix with more pairs under it than context_threshold() has one.
  std::optional<ContextPrefixList> context_prefix(const ContextList& context,
                                                  std::string_view prefix) const;
  IndexEntry entry(std::uint32_t i) const;
  // False when `word` certainly does not follow the context (no continuation has its hash); true
  // means only that it may.
  bool may_follow(const ContextList& context, std::string_view word) const;
  // The context's k-th continuation hash (k < pair_count), in ascending order.
  std::uint32_t continuation_hash(const ContextList& context, std::uint64_t k) const {
    return hash_at(context.first_hash + k);
  }

  // Every prefix with more keys than this has a list (unless a key under it is not UTF-8).
  std::uint32_t prefix_threshold() const { return prefix_threshold_; }
  std::uint32_t context_threshold() const { return context_threshold_; }
  std::size_t size_in_bytes() const { return size_; }

 private:
  RankingIndex() = default;
  std::string_view text(std::uint64_t offset, std::uint64_t length) const;
  std::string_view record_text(const std::uint8_t* at) const;  // offset and length at `at`
  std::uint32_t hash_at(std::uint64_t i) const;

  std::shared_ptr<const void> owner_;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  const std::uint8_t* prefixes_ = nullptr;
  const std::uint8_t* contexts_ = nullptr;
  const std::uint8_t* entries_ = nullptr;
  const std::uint8_t* hashes_ = nullptr;
  const std::uint8_t* context_prefixes_ = nullptr;
  const std::uint8_t* pool_ = nullptr;
  std::uint32_t prefix_count_ = 0;
  std::uint32_t context_count_ = 0;
  std::uint64_t entry_count_ = 0;
  std::uint64_t hash_count_ = 0;
  std::uint64_t context_prefix_count_ = 0;
  std::uint32_t prefix_threshold_ = 0;
  std::uint32_t context_threshold_ = 0;
};

}  // namespace ornav
