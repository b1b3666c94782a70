// CRC-32C (Castagnoli polynomial, reflected, as used by iSCSI and SSE4.2) and the masked form
// stored in the last four bytes of a version-3 map.
//
// The mask rotates the plain CRC right by 15 bits and adds a constant, so that data which contains
// its own checksum does not checksum to a predictable value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ornav::fst {

// CRC-32C of `size` bytes, continuing from `crc` (0 for a fresh checksum). Uses the processor's
// CRC instruction where there is one.
std::uint32_t crc32c(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

// The same checksum computed by tables only, on every machine (the reference the fast path is
// tested against).
std::uint32_t crc32c_portable(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

// The masked form of a finished CRC-32C.
constexpr std::uint32_t mask_crc32c(std::uint32_t crc) {
  return ((crc >> 15) | (crc << 17)) + 0xA282EAD8u;
}

}  // namespace ornav::fst
