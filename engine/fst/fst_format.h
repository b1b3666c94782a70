// Facts of the map format shared by the reader and the builder.
//
// File layout (all integers little-endian):
//   [0, 8)    format version (3; 2 for files without a checksum)
//   [8, 16)   map type, 0 for plain maps; never interpreted
//   [16, F)   compiled nodes, children before parents, the root last
//   [F, F+8)  key count
//   [F+8, F+16) root address (the root node's last byte; 0 for the empty final state)
//   [F+16, F+20) version 3 only: masked CRC-32C of every byte before it
//
// Node state byte (a node's last byte), top two bits:
//   11  one transition, not final, target is the node written just before, output 0
//   10  one transition, not final
//   0f  any number of transitions, f = final flag
// The low six bits hold either the number of transitions (any-transition nodes, 0 = "stored in the
// byte before") or the index of a common input byte (one-transition nodes, 0 = "stored in the byte
// before").
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace ornav::fst::format {

inline constexpr std::uint64_t kVersion = 3;
inline constexpr std::uint64_t kHeaderSize = 16;
// Smallest file: header, key count, root address, checksum. The 0.4 readers refuse anything
// shorter, version 2 included.
inline constexpr std::uint64_t kMinFileSize = 36;
// Size of the smallest map of each version: the lone empty key, root at address 0.
inline constexpr std::uint64_t kEmptyRootSizeV3 = 36;
inline constexpr std::uint64_t kEmptyRootSizeV2 = 32;
// Nodes with more transitions than this carry a 256-byte input -> transition index (version >= 2).
inline constexpr unsigned kIndexThreshold = 32;
inline constexpr std::uint64_t kEmptyFinalAddress = 0;

inline constexpr std::uint8_t kStateOneNext = 0b11'000000;
inline constexpr std::uint8_t kStateOne = 0b10'000000;
inline constexpr std::uint8_t kStateFinal = 0b01'000000;
inline constexpr std::uint8_t kLowSix = 0b00'111111;

// The 63 input bytes that fit in a state byte, most frequent first: index k+1 stands for
// kCommonInputs[k]. The order is part of the format.
inline constexpr std::string_view kCommonInputs =
    "te/oasripcnw.hlm-du012g=:bf3y5&_4v9678k%?xCDASFIBEjPTzRNM+LOqHG";
static_assert(kCommonInputs.size() == 63);

namespace internal {
constexpr std::array<std::uint8_t, 256> make_common_index() {
  std::array<std::uint8_t, 256> index{};
  for (std::size_t k = 0; k < kCommonInputs.size(); ++k) {
    index[static_cast<unsigned char>(kCommonInputs[k])] = static_cast<std::uint8_t>(k + 1);
  }
  return index;
}
}  // namespace internal

inline constexpr std::array<std::uint8_t, 256> kCommonIndex = internal::make_common_index();

// The state-byte code of `input`, 0 when it must be stored in a byte of its own.
constexpr std::uint8_t common_index(std::uint8_t input) {
  return kCommonIndex[input];
}
// The input a non-zero state-byte code stands for (code in 1..63).
constexpr std::uint8_t common_input(std::uint8_t code) {
  return static_cast<std::uint8_t>(kCommonInputs[code - 1]);
}

// Fewest bytes (1..8) that hold n; 0 still takes one byte.
constexpr unsigned pack_size(std::uint64_t n) {
  unsigned size = 1;
  while (size < 8 && (n >> (8 * size)) != 0)
    ++size;
  return size;
}

// Reads an n-byte (0..8) little-endian integer. The caller guarantees 8 readable bytes at p, which
// lets every width use one load.
inline std::uint64_t load_packed(const std::uint8_t* p, unsigned n) {
  std::uint64_t v = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&v, p, 8);
  } else {
    for (unsigned i = 0; i < 8; ++i)
      v |= std::uint64_t{p[i]} << (8 * i);
  }
  return n >= 8 ? v : v & ((std::uint64_t{1} << (8 * n)) - 1);
}

// Reads a full 8-byte little-endian integer without any alignment or padding assumption.
inline std::uint64_t load_u64(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (unsigned i = 0; i < 8; ++i)
    v |= std::uint64_t{p[i]} << (8 * i);
  return v;
}

inline std::uint32_t load_u32(const std::uint8_t* p) {
  std::uint32_t v = 0;
  for (unsigned i = 0; i < 4; ++i)
    v |= std::uint32_t{p[i]} << (8 * i);
  return v;
}

}  // namespace ornav::fst::format
