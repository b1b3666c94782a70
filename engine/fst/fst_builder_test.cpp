// The builder: byte-for-byte equality with the reference writer on the shared fixtures, key
// order rules, and random key sets read back through the reader.
#include "fst_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fst_map.h"
#include "fst_test_support.h"

namespace ornav::fst {
namespace {

using testing::collect;
using testing::Entries;
using testing::fixture_dir;
using testing::read_bytes;
using testing::with_prefix;

std::vector<std::uint8_t> build(const Entries& entries) {
  Builder builder;
  for (const auto& [key, value] : entries) {
    EXPECT_TRUE(builder.insert(key, value));
  }
  return builder.finish();
}

class FixtureBuildTest : public ::testing::TestWithParam<std::string> {};

// The reference writer is deterministic; the same keys must give the very same file.
TEST_P(FixtureBuildTest, WritesTheReferenceBytes) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const std::string name = GetParam();
  const Entries* entries = &testing::listing(name);
  const auto expected = read_bytes(fixture_dir() / (name + ".fst"));
  const auto built = build(*entries);
  ASSERT_EQ(built.size(), expected.size()) << name;
  const auto diff = std::mismatch(built.begin(), built.end(), expected.begin());
  EXPECT_TRUE(diff.first == built.end())
      << name << ": first difference at offset " << (diff.first - built.begin());
}

INSTANTIATE_TEST_SUITE_P(VersionThreeFixtures, FixtureBuildTest,
                         ::testing::Values("empty", "one", "empty-key", "empty-key-value",
                                           "small-ascii", "arabic-words", "pairs", "odd-bytes",
                                           "shared-suffix", "big-outputs", "large"),
                         [](const auto& info) {
                           std::string n = info.param;
                           std::replace(n.begin(), n.end(), '-', '_');
                           return n;
                         });

TEST(Builder, RefusesKeysOutOfOrderAndDuplicates) {
  Builder builder;
  EXPECT_TRUE(builder.insert("b", 1));
  EXPECT_FALSE(builder.insert("b", 2)) << "duplicate";
  EXPECT_FALSE(builder.insert("a", 3)) << "smaller";
  EXPECT_FALSE(builder.insert("", 3)) << "empty key after others";
  EXPECT_TRUE(builder.insert(std::string_view("b\0", 2), 4));
  EXPECT_FALSE(builder.insert("b", 5)) << "prefix of the previous key";
  EXPECT_TRUE(builder.insert("\xff", 6)) << "bytes compare unsigned";
  EXPECT_FALSE(builder.insert("\x7f", 7));
  const auto map = Map::open(builder.finish());
  ASSERT_TRUE(map);
  EXPECT_EQ(collect(*map, ""), (Entries{{"b", 1}, {std::string("b\0", 2), 4}, {"\xff", 6}}))
      << "refused keys leave nothing behind";
  EXPECT_FALSE(builder.insert("\xff\xff", 1)) << "a spent builder takes nothing";
  EXPECT_TRUE(builder.finish().empty());
}

TEST(Builder, EmptyKeyOnlyAsFirstKey) {
  Builder twice;
  EXPECT_TRUE(twice.insert("", 9));
  EXPECT_FALSE(twice.insert("", 9));
  EXPECT_TRUE(twice.insert("x", 0));
  const auto map = Map::open(twice.finish());
  ASSERT_TRUE(map);
  EXPECT_EQ(map->get(""), 9u);
  EXPECT_EQ(map->get("x"), 0u);
  EXPECT_EQ(map->len(), 2u);
}

// Random key sets drawn from a small alphabet (many shared prefixes and suffixes) or from all
// bytes, with values from every range, must read back exactly.
Entries random_entries(std::mt19937_64& rng, std::size_t count, bool small_alphabet) {
  const std::string alphabet = small_alphabet ? std::string("ab\x00\xff", 4) : std::string();
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t len = rng() % 9 == 0 ? rng() % 300 : rng() % 12;
    std::string key;
    for (std::size_t j = 0; j < len; ++j) {
      key.push_back(small_alphabet ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng()));
    }
    keys.push_back(std::move(key));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  Entries entries;
  for (auto& key : keys) {
    std::uint64_t value;
    switch (rng() % 5) {
      case 0:
        value = 0;
        break;
      case 1:
        value = rng() % 256;
        break;
      case 2:
        value = ~std::uint64_t{0} - rng() % 3;
        break;
      case 3:
        value = rng() >> (rng() % 64);
        break;
      default:
        value = rng();
        break;
    }
    entries.emplace_back(std::move(key), value);
  }
  return entries;
}

TEST(Builder, RandomKeySetsRoundTrip) {
  std::mt19937_64 rng(2024);
  for (int round = 0; round < 60; ++round) {
    const std::size_t count = round < 20 ? 1 + rng() % 8 : 1 + rng() % 3000;
    const Entries entries = random_entries(rng, count, round % 2 == 0);
    OpenError why{};
    const auto map = Map::open(build(entries), &why);
    ASSERT_TRUE(map) << describe(why);
    ASSERT_EQ(map->len(), entries.size());
    ASSERT_EQ(collect(*map, ""), entries) << "round " << round;
    for (const auto& [key, value] : entries)
      ASSERT_EQ(map->get(key), value);
    for (std::size_t i = 0; i < entries.size(); i += 1 + entries.size() / 20) {
      const std::string& key = entries[i].first;
      for (std::size_t n = 1; n <= std::min<std::size_t>(key.size(), 3); ++n) {
        ASSERT_EQ(collect(*map, key.substr(0, n)), with_prefix(entries, key.substr(0, n)));
      }
    }
  }
}

TEST(Builder, WideNodesLongKeysAndExtremeOutputs) {
  Entries entries;
  entries.emplace_back("", ~std::uint64_t{0});
  for (int b = 0; b < 256; ++b) {
    entries.emplace_back(std::string(1, static_cast<char>(b)), b % 2 ? ~std::uint64_t{0} : b);
  }
  std::sort(entries.begin(), entries.end());
  entries.emplace_back(std::string(5000, '\xff'), 1);  // sorts after the one-byte 0xFF key
  const auto map = Map::open(build(entries));
  ASSERT_TRUE(map);
  EXPECT_EQ(collect(*map, ""), entries);
  EXPECT_EQ(map->get(std::string(5000, '\xff')), 1u);
  EXPECT_FALSE(map->get(std::string(4999, '\xff')));
  EXPECT_EQ(collect(*map, std::string(100, '\xff')).size(), 1u);
}

TEST(Builder, SharedSuffixesAreStoredOnce) {
  // 26 x 26 keys ending in the same long tail: without suffix sharing the tail alone would take
  // 676 x 40 bytes.
  const std::string tail(40, 't');
  Entries entries;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b)
      entries.emplace_back(std::string{a, b} + tail, 0);
  }
  const auto bytes = build(entries);
  EXPECT_LT(bytes.size(), 2000u);
  const auto map = Map::open(bytes);
  ASSERT_TRUE(map);
  EXPECT_EQ(collect(*map, ""), entries);
}

}  // namespace
}  // namespace ornav::fst
