// CRC-32C against published test vectors and against a checksum stored in a real map.
#include "crc32c.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string_view>
#include <vector>

#include "fst_test_support.h"

namespace ornav::fst {
namespace {

std::uint32_t crc_of(std::string_view s) {
  return crc32c(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

TEST(Crc32c, KnownVectors) {
  EXPECT_EQ(crc_of(""), 0u);
  EXPECT_EQ(crc_of("123456789"), 0xE3069283u);
  // The iSCSI test patterns: 32 zero bytes, 32 0xFF bytes, 0..31 and 31..0.
  std::vector<std::uint8_t> bytes(32, 0);
  EXPECT_EQ(crc32c(bytes.data(), bytes.size()), 0x8A9136AAu);
  std::fill(bytes.begin(), bytes.end(), 0xFF);
  EXPECT_EQ(crc32c(bytes.data(), bytes.size()), 0x62A8AB43u);
  std::iota(bytes.begin(), bytes.end(), 0);
  EXPECT_EQ(crc32c(bytes.data(), bytes.size()), 0x46DD794Eu);
  std::reverse(bytes.begin(), bytes.end());
  EXPECT_EQ(crc32c(bytes.data(), bytes.size()), 0x113FDB5Cu);
}

// The eight-byte fast path and the byte-wise tail must agree wherever the data is split.
TEST(Crc32c, ContinuesAcrossAnySplit) {
  std::vector<std::uint8_t> bytes(100);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const std::uint32_t whole = crc32c(bytes.data(), bytes.size());
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    const std::uint32_t head = crc32c(bytes.data(), cut);
    EXPECT_EQ(crc32c(bytes.data() + cut, bytes.size() - cut, head), whole) << cut;
  }
}

// The processor's instruction (where present) against the tables: every length around the
// three-block interleaving, any alignment, and continuation from a running checksum.
TEST(Crc32c, FastPathMatchesTheTables) {
  std::mt19937 rng(5);
  std::vector<std::uint8_t> bytes(3 * 3 * 4096 + 64);
  for (auto& b : bytes)
    b = static_cast<std::uint8_t>(rng());
  const std::size_t block_edges[] = {0, 1, 7, 8, 9, 4095, 4096, 12287, 12288, 12289, 24576, 36863};
  for (const std::size_t size : block_edges) {
    for (std::size_t offset = 0; offset < 9 && offset + size <= bytes.size(); ++offset) {
      const std::uint8_t* p = bytes.data() + offset;
      EXPECT_EQ(crc32c(p, size), crc32c_portable(p, size)) << size << " at " << offset;
      EXPECT_EQ(crc32c(p, size, 0x12345678u), crc32c_portable(p, size, 0x12345678u)) << size;
    }
  }
  for (int round = 0; round < 200; ++round) {
    const std::size_t size = rng() % bytes.size();
    const std::size_t offset = rng() % (bytes.size() - size + 1);
    EXPECT_EQ(crc32c(bytes.data() + offset, size), crc32c_portable(bytes.data() + offset, size));
  }
  EXPECT_EQ(crc32c_portable(reinterpret_cast<const std::uint8_t*>("123456789"), 9), 0xE3069283u);
}

TEST(Crc32c, MaskedFormMatchesAStoredMapChecksum) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const auto good = testing::read_bytes(testing::fixture_dir() / "small-ascii.fst");
  ASSERT_EQ(good.size(), 168u);
  const std::uint32_t stored = static_cast<std::uint32_t>(good[164]) | good[165] << 8 |
                               good[166] << 16 | static_cast<std::uint32_t>(good[167]) << 24;
  EXPECT_EQ(mask_crc32c(crc32c(good.data(), 164)), stored);
  EXPECT_EQ(stored, 2601048920u);
}

TEST(Crc32c, MaskRotatesAndOffsets) {
  EXPECT_EQ(mask_crc32c(0), 0xA282EAD8u);
  EXPECT_EQ(mask_crc32c(1u << 15), 0xA282EAD8u + 1u);
  EXPECT_EQ(mask_crc32c(1), 0xA282EAD8u + (1u << 17));
}

}  // namespace
}  // namespace ornav::fst
