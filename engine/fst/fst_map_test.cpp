// The reader against the shared fixtures (every listing, every corrupt file), hand-made footers,
// and damaged maps that must be refused or read safely.
#include "fst_map.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "crc32c.h"
#include "fst_builder.h"
#include "fst_test_support.h"

namespace ornav::fst {
namespace {

using testing::collect;
using testing::Entries;
using testing::fixture_dir;
using testing::read_bytes;
using testing::with_prefix;

std::optional<Map> open_fixture(const std::string& relative, OpenError* why = nullptr) {
  return Map::open(read_bytes(fixture_dir() / relative), why);
}

// Keys one byte away from the listed ones that are not themselves listed: extensions, truncations
// and last-byte variations exercise every "no transition" and "not final" path.
std::vector<std::string> absent_neighbours(const Entries& entries, std::size_t max_keys) {
  std::vector<std::string> out;
  const std::size_t step = std::max<std::size_t>(1, entries.size() / max_keys);
  for (std::size_t i = 0; i < entries.size(); i += step) {
    const std::string& key = entries[i].first;
    std::vector<std::string> candidates = {key + '\0', key + '\xff', key + 'a'};
    if (!key.empty()) {
      candidates.push_back(key.substr(0, key.size() - 1));
      std::string changed = key;
      changed.back() = static_cast<char>(changed.back() + 1);
      candidates.push_back(changed);
    }
    for (auto& c : candidates) {
      if (!testing::listed(entries, c)) out.push_back(std::move(c));
    }
  }
  return out;
}

// Prefixes worth streaming: "", each distinct first byte, and the first 1..4 bytes of sampled keys.
std::vector<std::string> sample_prefixes(const Entries& entries) {
  std::set<std::string> prefixes = {"", "\xff\xff\xff\xff", "zzzz"};
  const std::size_t step = std::max<std::size_t>(1, entries.size() / 40);
  for (std::size_t i = 0; i < entries.size(); i += step) {
    const std::string& key = entries[i].first;
    for (std::size_t n = 1; n <= std::min<std::size_t>(4, key.size()); ++n) {
      prefixes.insert(key.substr(0, n));
    }
    prefixes.insert(key);
  }
  for (const auto& e : entries) {
    if (!e.first.empty()) prefixes.insert(e.first.substr(0, 1));
  }
  return {prefixes.begin(), prefixes.end()};
}

class FixtureMapTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureMapTest, ReadsExactlyWhatItsListingSays) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const std::string name = GetParam();
  OpenError why{};
  const auto map = open_fixture(name + ".fst", &why);
  ASSERT_TRUE(map) << name << ": " << describe(why);
  const Entries* expected = &testing::listing(name);

  EXPECT_EQ(map->len(), expected->size());
  EXPECT_EQ(collect(*map, ""), *expected) << "full stream of " << name;

  for (const auto& [key, value] : *expected) {
    const auto got = map->get(key);
    ASSERT_TRUE(got) << name << ": key of " << key.size() << " bytes missing";
    EXPECT_EQ(*got, value);
  }
  for (const auto& key : absent_neighbours(*expected, 2000)) {
    EXPECT_FALSE(map->get(key)) << name << ": unexpected key of " << key.size() << " bytes";
  }
  for (const auto& prefix : sample_prefixes(*expected)) {
    EXPECT_EQ(collect(*map, prefix), with_prefix(*expected, prefix))
        << name << ": prefix of " << prefix.size() << " bytes";
  }
}

INSTANTIATE_TEST_SUITE_P(AllFixtures, FixtureMapTest,
                         ::testing::ValuesIn(testing::valid_fixture_names()), [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n) {
                             if (c == '-') c = '_';
                           }
                           return n;
                         });

TEST(MapFixtures, LargeMapStreamsEachArabicLetter) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const auto map = open_fixture("large.fst");
  ASSERT_TRUE(map);
  const Entries* all = &testing::listing("large");
  ASSERT_FALSE(all->empty());
  std::ifstream letters(fixture_dir() / "arabic-letter-prefixes.txt");
  std::string hex;
  std::size_t total = 0, count = 0;
  while (letters >> hex) {
    ASSERT_EQ(hex.size(), 4u);
    std::string prefix;
    for (std::size_t i = 0; i < 4; i += 2) {
      prefix.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    const Entries got = collect(*map, prefix);
    EXPECT_EQ(got, with_prefix(*all, prefix)) << "letter " << hex;
    total += got.size();
    ++count;
  }
  EXPECT_EQ(count, 138u);
  EXPECT_EQ(total, all->size()) << "every key starts with exactly one letter";
}

TEST(MapFixtures, VersionTwoReadsLikeVersionThree) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const auto v2 = open_fixture("v2-small.fst");
  const auto v3 = open_fixture("small-ascii.fst");
  ASSERT_TRUE(v2 && v3);
  EXPECT_EQ(v2->version(), 2u);
  EXPECT_EQ(v3->version(), 3u);
  EXPECT_EQ(collect(*v2, ""), collect(*v3, ""));
}

TEST(MapFixtures, CorruptFilesAreRefusedWithTheirReason) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const std::map<std::string, OpenError> expected = {
      {"corrupt/badfooter.fst", OpenError::bad_checksum},
      {"corrupt/badroot-far.fst", OpenError::bad_root},
      {"corrupt/badroot-zero.fst", OpenError::bad_footer},
      {"corrupt/badversion.fst", OpenError::unknown_version},
      {"corrupt/tiny.fst", OpenError::too_short},
      {"corrupt/truncated.fst", OpenError::too_short},
      // Valid to the older writer, refused by the 0.4 readers for being under 36 bytes.
      {"v2-short/empty.fst", OpenError::too_short},
      {"v2-short/empty-key.fst", OpenError::too_short},
  };
  for (const auto& [file, reason] : expected) {
    OpenError why{};
    EXPECT_FALSE(open_fixture(file, &why)) << file;
    EXPECT_EQ(why, reason) << file << ": " << describe(why);
  }
}

// Skipping the checksum at opening is what the 0.4 readers do: the broken footer checksum opens
// and reads back every entry; the comparison can still be asked for afterwards.
TEST(MapFixtures, ChecksumCanBeLeftForLater) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const auto open_unchecked = [](const std::string& relative, OpenError* why = nullptr) {
    auto bytes =
        std::make_shared<const std::vector<std::uint8_t>>(read_bytes(fixture_dir() / relative));
    return Map::open(std::span<const std::uint8_t>(*bytes), bytes, why, Checksum::skip);
  };
  const auto damaged = open_unchecked("corrupt/badfooter.fst");
  const auto intact = open_unchecked("small-ascii.fst");
  const auto unsummed = open_unchecked("v2-small.fst");
  ASSERT_TRUE(damaged && intact && unsummed);
  EXPECT_FALSE(damaged->checksum_matches());
  EXPECT_TRUE(intact->checksum_matches());
  EXPECT_TRUE(unsummed->checksum_matches()) << "version 2 has no checksum to differ from";
  EXPECT_EQ(collect(*damaged, ""), collect(*intact, ""));
  // Structural damage is still refused without the checksum.
  OpenError why{};
  EXPECT_FALSE(open_unchecked("corrupt/badroot-far.fst", &why));
  EXPECT_EQ(why, OpenError::bad_root);
}

// --- Hand-made files: footer rules ------------------------------------------------------------

std::vector<std::uint8_t> with_checksum(std::vector<std::uint8_t> bytes) {
  const std::uint32_t sum = mask_crc32c(crc32c(bytes.data(), bytes.size() - 4));
  for (int i = 0; i < 4; ++i)
    bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
  return bytes;
}

void put_u64(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i)
    bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The 36-byte map of the empty key alone: header, key count, root 0, checksum.
std::vector<std::uint8_t> empty_key_map(std::uint64_t version, std::uint64_t len) {
  std::vector<std::uint8_t> bytes(36, 0);
  put_u64(bytes, 0, version);
  put_u64(bytes, 16, len);
  return with_checksum(bytes);
}

TEST(MapOpen, FooterRules) {
  OpenError why{};
  auto ok = Map::open(empty_key_map(3, 1), &why);
  ASSERT_TRUE(ok) << describe(why);
  EXPECT_EQ(ok->get(""), 0u);
  EXPECT_FALSE(ok->get("a"));

  // Without a checksum the lone empty key takes 32 bytes, which the 0.4 readers refuse as too
  // short; 36 such bytes are inconsistent.
  std::vector<std::uint8_t> v2(36, 0);
  put_u64(v2, 0, 2);
  put_u64(v2, 20, 1);
  EXPECT_FALSE(Map::open(v2, &why));
  EXPECT_EQ(why, OpenError::bad_footer);
  for (std::uint64_t version : {std::uint64_t{0}, std::uint64_t{4}, ~std::uint64_t{0}}) {
    EXPECT_FALSE(Map::open(empty_key_map(version, 1), &why));
    EXPECT_EQ(why, OpenError::unknown_version);
  }
  // The empty final root describes exactly one key.
  EXPECT_FALSE(Map::open(empty_key_map(3, 0), &why));
  EXPECT_EQ(why, OpenError::bad_footer);
  EXPECT_FALSE(Map::open(empty_key_map(3, 2), &why));
  EXPECT_EQ(why, OpenError::bad_footer);

  // Root addresses inside the header or the footer are no node.
  auto bytes = empty_key_map(3, 1);
  bytes.insert(bytes.begin() + 16, 4, 0);  // a 40-byte file with four node bytes
  for (std::uint64_t root : {std::uint64_t{5}, std::uint64_t{15}, std::uint64_t{20},
                             std::uint64_t{39}, std::uint64_t{1} << 63}) {
    put_u64(bytes, 28, root);
    EXPECT_FALSE(Map::open(with_checksum(bytes), &why)) << root;
    EXPECT_EQ(why, OpenError::bad_root) << root;
  }
}

TEST(MapOpen, EmptyAndMissingPrefixes) {
  ORNAV_REQUIRE_FST_FIXTURES();
  const auto empty = open_fixture("empty.fst");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->len(), 0u);
  EXPECT_FALSE(empty->get(""));
  EXPECT_TRUE(collect(*empty, "").empty());
  EXPECT_TRUE(collect(*empty, "a").empty());

  const auto small = open_fixture("small-ascii.fst");
  ASSERT_TRUE(small);
  auto stream = small->prefix_stream("\x01\x02");
  EXPECT_FALSE(stream.next());
  EXPECT_FALSE(stream.next()) << "a finished stream stays finished";
  PrefixStream unused;
  EXPECT_FALSE(unused.next());
}

// Version 2 is version 3 without the checksum; wide (indexed) nodes included.
TEST(MapOpen, VersionTwoLayoutWithWideNodes) {
  Builder builder;
  Entries entries;
  for (int a = 0; a < 256; a += 3) {
    for (int b = 0; b < 256; b += 5) {
      entries.emplace_back(std::string{static_cast<char>(a), static_cast<char>(b)}, a * 1000 + b);
    }
  }
  for (const auto& [key, value] : entries)
    ASSERT_TRUE(builder.insert(key, value));
  auto bytes = builder.finish();
  bytes.resize(bytes.size() - 4);
  put_u64(bytes, 0, 2);
  OpenError why{};
  const auto map = Map::open(bytes, &why);
  ASSERT_TRUE(map) << describe(why);
  EXPECT_EQ(map->version(), 2u);
  EXPECT_EQ(collect(*map, ""), entries);
  EXPECT_EQ(map->get(std::string{'\x03', '\x05'}), 3005u);
  EXPECT_FALSE(map->get(std::string{'\x03', '\x06'}));
  EXPECT_EQ(collect(*map, std::string(1, '\xff')), with_prefix(entries, "\xff"));
}

// --- Hostile bytes ----------------------------------------------------------------------------

// Exercises everything a reader does; the only expectation is that it returns.
void exercise(const Map& map, const Entries& sample) {
  for (const auto& e : sample)
    (void)map.get(e.first);
  for (std::string_view prefix : {"", "a", "\xd8", "\xd8\xa7"})
    (void)collect(map, prefix, 5000);
}

TEST(MapHostile, MutatedFixturesNeverCrashOrHang) {
  ORNAV_REQUIRE_FST_FIXTURES();
  std::mt19937_64 rng(12345);
  for (const std::string name : {"small-ascii", "odd-bytes", "big-outputs", "arabic-words"}) {
    const auto original = read_bytes(fixture_dir() / (name + ".fst"));
    const Entries* entries = &testing::listing(name);
    Entries sample(entries->begin(), entries->begin() + std::min<std::size_t>(50, entries->size()));
    const int rounds = original.size() > 10000 ? 150 : 600;
    for (int round = 0; round < rounds; ++round) {
      auto bytes = original;
      const int flips = 1 + static_cast<int>(rng() % 8);
      for (int f = 0; f < flips; ++f)
        bytes[rng() % bytes.size()] ^= static_cast<std::uint8_t>(1 + rng() % 255);
      switch (rng() % 3) {
        case 0:  // keep the (now wrong) checksum: must be refused
          break;
        case 1:  // recompute it so the reader has to face the damaged nodes
          bytes = with_checksum(bytes);
          break;
        case 2:  // random root and key count with a good checksum
          put_u64(bytes, bytes.size() - 12, rng() % bytes.size());
          put_u64(bytes, bytes.size() - 20, rng() % 4096);
          bytes = with_checksum(bytes);
          break;
      }
      if (const auto map = Map::open(bytes)) exercise(*map, sample);
    }
    for (std::size_t cut = 0; cut < original.size(); cut += 1 + original.size() / 97) {
      std::vector<std::uint8_t> head(original.begin(), original.begin() + cut);
      if (const auto map = Map::open(head)) exercise(*map, sample);
      if (head.size() >= 36) {
        if (const auto map = Map::open(with_checksum(head))) exercise(*map, sample);
      }
    }
  }
}

TEST(MapHostile, StreamStopsAfterTheRecordedKeyCount) {
  ORNAV_REQUIRE_FST_FIXTURES();
  auto bytes = read_bytes(fixture_dir() / "small-ascii.fst");
  put_u64(bytes, bytes.size() - 20, 5);
  const auto map = Map::open(with_checksum(bytes));
  ASSERT_TRUE(map);
  EXPECT_EQ(collect(*map, "").size(), 5u);
}

// A chain of any-transition nodes, each with two transitions to the node below it and none of them
// final: 2^n paths and not one key. The walk must give up instead of visiting every path.
TEST(MapHostile, KeylessExponentialGraphEndsQuickly) {
  std::vector<std::uint8_t> bytes(16, 0);
  bytes[0] = 3;
  std::uint64_t below = 0;
  for (int level = 0; level < 60; ++level) {
    const std::uint64_t first = bytes.size();
    if (level == 0) {
      bytes.insert(bytes.end(), {0x00, 0x00, 0x00});  // no transitions, not final
    } else {
      const auto distance = static_cast<std::uint8_t>(first - below);
      // targets (reverse order), inputs (reverse order), sizes: 1-byte targets, no outputs; 2 trans
      bytes.insert(bytes.end(), {distance, distance, 'b', 'a', 0x10, 0x02});
    }
    below = bytes.size() - 1;
  }
  const std::uint64_t root = below;
  bytes.resize(bytes.size() + 20, 0);
  put_u64(bytes, bytes.size() - 20, ~std::uint64_t{0});
  put_u64(bytes, bytes.size() - 12, root);
  const auto map = Map::open(with_checksum(bytes));
  ASSERT_TRUE(map);
  EXPECT_TRUE(collect(*map, "").empty());
  EXPECT_FALSE(map->get(std::string(59, 'a')));
}

}  // namespace
}  // namespace ornav::fst
