// CRC-32C in two implementations that give identical results:
// - table-driven, eight bytes per step ("slicing by 8"), for every machine. Tables are computed at
//   compile time from the reflected Castagnoli polynomial 0x82F63B78; table k maps a byte to its
//   CRC contribution when it is followed by k zero bytes, so eight lookups fold eight input bytes;
// - the x86-64 SSE4.2 crc32 instruction, chosen at run time when the processor has it. Opening a
//   large map checksums the whole file, so this is on the path of creating the first engine.
#include "crc32c.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <nmmintrin.h>
#define ORNAV_CRC32C_X86 1
#endif

namespace ornav::fst {
namespace {

constexpr std::uint32_t kPolynomial = 0x82F63B78u;

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables make_tables() {
  Tables t{};
  for (std::uint32_t b = 0; b < 256; ++b) {
    std::uint32_t crc = b;
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ ((crc & 1u) ? kPolynomial : 0u);
    t[0][b] = crc;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::size_t b = 0; b < 256; ++b)
      t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFFu];
  }
  return t;
}

constexpr Tables kTables = make_tables();

#ifdef ORNAV_CRC32C_X86

// The instruction's latency is three cycles but it accepts one per cycle, so three independent
// streams over adjacent blocks run about three times as fast as one. Their registers are joined
// by shifting the earlier ones over the later blocks' length: a multiplication by x^(8 * kBlock)
// modulo the polynomial, in the reflected bit order the CRC uses.
constexpr std::size_t kBlock = 4096;

// a * b modulo the polynomial; bit 31 is the coefficient of x^0.
constexpr std::uint32_t multiply_mod(std::uint32_t a, std::uint32_t b) {
  std::uint32_t product = 0;
  for (std::uint32_t bit = 0x80000000u; bit != 0; bit >>= 1) {
    if (a & bit) product ^= b;
    b = (b & 1u) ? (b >> 1) ^ kPolynomial : b >> 1;
  }
  return product;
}

// x^(8 * bytes): feeding zero bytes into a register multiplies it by x^8 each.
constexpr std::uint32_t shift_for(std::size_t bytes) {
  std::uint32_t r = 0x80000000u;  // x^0
  for (std::size_t i = 0; i < bytes; ++i)
    r = (r >> 8) ^ kTables[0][r & 0xFFu];
  return r;
}

constexpr std::uint32_t kBlockShift = shift_for(kBlock);

std::uint64_t load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

[[gnu::target("sse4.2")]] std::uint32_t crc32c_sse42(const std::uint8_t* data, std::size_t size,
                                                     std::uint32_t crc) {
  std::uint64_t c0 = ~crc;
  while (size >= 3 * kBlock) {
    std::uint64_t c1 = 0, c2 = 0;
    for (std::size_t i = 0; i < kBlock; i += 8) {
      c0 = _mm_crc32_u64(c0, load64(data + i));
      c1 = _mm_crc32_u64(c1, load64(data + kBlock + i));
      c2 = _mm_crc32_u64(c2, load64(data + 2 * kBlock + i));
    }
    const std::uint32_t joined =
        multiply_mod(kBlockShift, multiply_mod(kBlockShift, std::uint32_t(c0)) ^ std::uint32_t(c1));
    c0 = joined ^ std::uint32_t(c2);
    data += 3 * kBlock;
    size -= 3 * kBlock;
  }
  for (; size >= 8; data += 8, size -= 8)
    c0 = _mm_crc32_u64(c0, load64(data));
  auto c = std::uint32_t(c0);
  for (; size > 0; ++data, --size)
    c = _mm_crc32_u8(c, *data);
  return ~c;
}

bool has_sse42() {
  static const bool available = __builtin_cpu_supports("sse4.2");
  return available;
}

#endif

}  // namespace

std::uint32_t crc32c_portable(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  crc = ~crc;
  while (size >= 8) {
    // Assembled byte by byte so the result does not depend on the host's byte order.
    const std::uint32_t lo = (std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                              std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24) ^
                             crc;
    crc = kTables[7][lo & 0xFFu] ^ kTables[6][(lo >> 8) & 0xFFu] ^ kTables[5][(lo >> 16) & 0xFFu] ^
          kTables[4][lo >> 24] ^ kTables[3][data[4]] ^ kTables[2][data[5]] ^ kTables[1][data[6]] ^
          kTables[0][data[7]];
    data += 8;
    size -= 8;
  }
  while (size-- > 0)
    crc = (crc >> 8) ^ kTables[0][(crc ^ *data++) & 0xFFu];
  return ~crc;
}

std::uint32_t crc32c(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
#ifdef ORNAV_CRC32C_X86
  if (has_sse42()) return crc32c_sse42(data, size, crc);
#endif
  return crc32c_portable(data, size, crc);
}

}  // namespace ornav::fst
