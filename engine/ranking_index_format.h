// Layout of the ranking index file, shared by its builder and its reader.
//
// The index holds, for a dictionary's two maps, what a keystroke would otherwise have to find by
// walking large parts of them:
// - for every key prefix with more than `prefix_threshold` keys under it: its first
//   `prefix_list_limit` words in the order (count descending, fewer characters first, bytes
//   ascending), which is the ranking order of words that nothing but their count raises;
// - for every context word with more than `context_threshold` pairs: its first
//   `context_list_limit` continuations in the order (pair count descending, bytes ascending),
//   the largest pair count among the others, the number of pairs, and a 32-bit hash of every
//   continuation (ascending), which tells without a walk of the pair map that a word does not
//   follow the context;
// - for every such context word and every prefix of its continuations with more than
//   `context_threshold` pairs under it: its first `prefix_list_limit` continuations that are
//   words of the word map, in the order (corpus count + 100 x pair count descending, fewer
//   characters first, bytes ascending), which is the ranking order after that context word of
//   words that nothing else raises.
// Prefixes or contexts with a key that is not valid UTF-8 under them get no entry.
//
// All integers little-endian. The file:
//   header (kHeaderSize bytes, below)
//   prefix records   prefix_count  x kPrefixRecordSize, sorted by their text's bytes
//   context records  context_count x kContextRecordSize, sorted by their text's bytes
//   entries          entry_count   x kEntrySize (each record's entries are contiguous)
//   hashes           hash_count    x 4 bytes (each context's hashes are contiguous, ascending)
//   context prefixes context_prefix_count x kContextPrefixRecordSize, sorted by their context
//                    record's position, then by their text's bytes
//   pool             pool_size bytes of text that the records and entries point into
//   CRC-32C of every byte before it (4 bytes)
// A map is identified by its size, key count, root address and stored checksum (only maps with a
// stored checksum, format version 3, can be bound), so an index built for other maps is refused.
#pragma once

#include <cstdint>
#include <string_view>

namespace ornav::ranking_index {

inline constexpr std::string_view kMagic = "ORNVRIX\x1A";
inline constexpr std::uint32_t kVersion = 2;

// Header offsets.
inline constexpr std::size_t kHeaderSize = 136;
inline constexpr std::size_t kVersionAt = 8;
inline constexpr std::size_t kHeaderSizeAt = 12;
inline constexpr std::size_t kUnigramBindingAt =
    16;  // u64 size, u64 keys, u64 root, u32 sum, u32 0
inline constexpr std::size_t kBigramBindingAt = 48;
inline constexpr std::size_t kPrefixCountAt = 80;   // u32
inline constexpr std::size_t kContextCountAt = 84;  // u32
inline constexpr std::size_t kEntryCountAt = 88;    // u64
inline constexpr std::size_t kPoolSizeAt = 96;      // u64
inline constexpr std::size_t kPrefixThresholdAt = 104;
inline constexpr std::size_t kPrefixListLimitAt = 108;
inline constexpr std::size_t kContextThresholdAt = 112;
inline constexpr std::size_t kContextListLimitAt = 116;
inline constexpr std::size_t kHashCountAt = 120;           // u64
inline constexpr std::size_t kContextPrefixCountAt = 128;  // u64

// Prefix record: u32 text offset, u32 text length, u32 first entry, u32 entry count, u64 number of
// keys under the prefix.
inline constexpr std::size_t kPrefixRecordSize = 24;
// Context record: u32 text offset, u32 text length, u32 first entry, u32 entry count, u64 number of
// pairs, u64 largest pair count among the pairs not listed (0 when all are listed), u64 first
// hash (the context has one hash per pair).
inline constexpr std::size_t kContextRecordSize = 40;
// Context prefix record: u32 position of its context's record, u32 text offset, u32 text length,
// u32 first entry, u32 entry count, u32 number of continuations under the prefix that are words
// of the word map (the list is complete when it holds them all).
inline constexpr std::size_t kContextPrefixRecordSize = 24;
// Entry: u32 word offset, u32 word length, u64 count (corpus count, pair count, or the sum above).
inline constexpr std::size_t kEntrySize = 16;
inline constexpr std::size_t kHashSize = 4;
inline constexpr std::size_t kChecksumSize = 4;

// The continuation hash: 32-bit FNV-1a of the word's bytes.
constexpr std::uint32_t word_hash(std::string_view word) {
  std::uint32_t h = 2166136261u;
  for (const char c : word)
    h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
  return h;
}

}  // namespace ornav::ranking_index
