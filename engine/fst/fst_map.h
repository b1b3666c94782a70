// Reader for finite-state-transducer maps in the fst library's 0.4 map format (format versions 2
// and 3): sorted byte-string keys, one unsigned 64-bit output per key. Version 1, which the 0.4
// readers still accept, is read too: its nodes never carry the 256-byte input index.
//
// The map reads the whole file's bytes in place: either its own copy, or memory that an owner keeps
// alive (a read-only mapping of the file), shared by every copy of the map. Opening checks
// everything the footer promises (size, version, root address inside the node area, the root node
// itself) and, unless the caller opts out, the version 3 masked CRC-32C of the whole file. Reads
// inside nodes are bounds-checked whether or not the checksum was verified: hostile bytes make a
// lookup answer "absent" or a stream end early, never read outside the buffer or loop forever.
// Walks only ever follow a transition to an address below the current node, and a stream never
// yields more than len() keys.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fst_node.h"

namespace ornav::fst {

enum class OpenError {
  too_short,        // fewer than 36 bytes (refused for every version, as the 0.4 readers do)
  unknown_version,  // version word 0 or above 3
  bad_footer,       // root address / key count inconsistent with the file (root 0 is only
                    // possible in the one-key map of the smallest size)
  bad_checksum,     // version 3: stored checksum differs from the bytes
  bad_root,         // root address outside the node area, or no well-formed node there
};

const char* describe(OpenError error);

// Whether opening a version 3 map reads the whole file to compare it with its stored checksum.
// Skipping it keeps opening independent of the file's size: nothing but the footer and the root
// node is read, so a large map that is not yet in memory opens at once.
enum class Checksum { verify, skip };

class PrefixStream;

class Map {
 public:
  // Takes the whole file. Empty optional (with *why set when given) for bytes that are not a map.
  static std::optional<Map> open(std::vector<std::uint8_t> bytes, OpenError* why = nullptr);
  // Reads the map in place from `bytes`, which `owner` keeps valid and unchanged for as long as
  // the map or a copy of it exists.
  static std::optional<Map> open(std::span<const std::uint8_t> bytes,
                                 std::shared_ptr<const void> owner, OpenError* why = nullptr,
                                 Checksum checksum = Checksum::verify);

  // Compares the whole file with its stored checksum; true for version 2 maps, which have none.
  // With `stop` (looked at every megabyte), a comparison that is asked to stop ends with false.
  bool checksum_matches(const std::atomic<bool>* stop = nullptr) const;

  // The output stored for exactly this key.
  std::optional<std::uint64_t> get(std::string_view key) const;

  // Where the walk of a key prefix ends: many lookups of keys that begin with the same prefix
  // can start there instead of walking it again. Valid only with the map that made it.
  struct Position {
    detail::Node node;
    std::uint64_t output = 0;
  };
  // Empty when no key begins with `prefix`.
  std::optional<Position> position(std::string_view prefix) const;
  // The output stored for the key that is the position's prefix followed by `rest`.
  std::optional<std::uint64_t> get(const Position& from, std::string_view rest) const;

  // Every key that begins with `prefix` (the prefix itself included), in byte order.
  PrefixStream prefix_stream(std::string_view prefix) const;

  // Number of keys as recorded in the footer.
  std::uint64_t len() const { return len_; }
  std::uint64_t version() const { return version_; }
  std::size_t size_in_bytes() const { return size_; }
  // The root address from the footer and, for version 3, the stored checksum: together with the
  // size and key count they identify one particular map file.
  std::uint64_t root_address() const { return root_; }
  std::optional<std::uint32_t> stored_checksum() const;

 private:
  friend class PrefixStream;
  Map() = default;

  detail::NodeArea area() const { return {data_, format::kHeaderSize, area_end_, version_}; }

  std::shared_ptr<const void> owner_;  // keeps data_ valid
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::uint64_t version_ = 0;
  std::uint64_t len_ = 0;
  std::uint64_t root_ = 0;
  std::uint64_t area_end_ = 0;  // one past the last byte nodes may occupy (the key count's offset)
  detail::Node root_node_;
};

// Walks the keys under one prefix in ascending byte order. Holds a pointer to its Map, which must
// outlive it.
class PrefixStream {
 public:
  // Advances to the next key; false when there is none.
  bool next();
  // The current key (valid until the next call of next()) and its output.
  std::string_view key() const { return key_; }
  std::uint64_t value() const { return value_; }

 private:
  friend class Map;
  // One node on the path from the prefix's node to the current key: the output accumulated on
  // the way to it and the next transition to try.
  struct Frame {
    detail::Node node;
    std::uint64_t output = 0;
    std::uint32_t next = 0;
  };
  void finish();

  const Map* map_ = nullptr;
  detail::NodeArea area_;
  std::string key_;  // the prefix, then one byte per frame below the first
  std::uint64_t value_ = 0;
  std::vector<Frame> stack_;
  std::size_t prefix_len_ = 0;
  std::uint64_t yielded_ = 0;
  // In a well-formed map every node leads to a key, so between two keys a walk takes at most
  // twice the depth of the deepest path; more steps than that without a key means hostile bytes.
  std::uint64_t step_limit_ = 0;
  bool start_pending_ = false;  // the prefix's own node has not been checked for finality yet
  bool done_ = true;
};

}  // namespace ornav::fst
