// Reader for finite-state-transducer maps in the fst library's 0.4 map format (format versions 2
// and 3): sorted byte-string keys, one unsigned 64-bit output per key.
//
// The map owns the whole file's bytes. Opening checks everything the footer promises (size,
// version, root address inside the file, and for version 3 the masked CRC-32C), so a map that
// opens can be read without further checks at the file level. Reads inside nodes are still
// bounds-checked: hostile bytes make a lookup answer "absent" or a stream end early, never read
// outside the buffer or loop forever.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::fst {

enum class OpenError {
  too_short,        // fewer bytes than the smallest map of its version
  unknown_version,  // version word 0 or above 3
  bad_footer,       // root address / key count inconsistent with the file
  bad_checksum,     // version 3: stored checksum differs from the bytes
  bad_root,         // root address outside the node area
};

const char* describe(OpenError error);

class PrefixStream;

class Map {
 public:
  // Takes the whole file. Empty optional (with *why set when given) for bytes that are not a map.
  static std::optional<Map> open(std::vector<std::uint8_t> bytes, OpenError* why = nullptr);

  // The output stored for exactly this key.
  std::optional<std::uint64_t> get(std::string_view key) const;

  // Every key that begins with `prefix` (the prefix itself included), in byte order.
  PrefixStream prefix_stream(std::string_view prefix) const;

  // Number of keys as recorded in the footer.
  std::uint64_t len() const { return len_; }
  std::uint64_t version() const { return version_; }
  std::size_t size_in_bytes() const { return bytes_.size(); }

 private:
  friend class PrefixStream;
  Map() = default;

  std::vector<std::uint8_t> bytes_;
  std::uint64_t version_ = 0;
  std::uint64_t len_ = 0;
  std::uint64_t root_ = 0;
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
  struct Frame;  // defined in the implementation
  const Map* map_ = nullptr;
  std::string key_;
  std::uint64_t value_ = 0;
  // Implementation state (explicit stack of frames); see fst_map.cpp.
  std::vector<std::uint64_t> state_;
  bool done_ = true;
};

}  // namespace ornav::fst
