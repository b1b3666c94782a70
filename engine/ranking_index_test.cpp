// The ranking index: what the builder lists (against lists computed by brute force), and that the
// reader refuses every index that is not exactly right for the maps it is opened with.
#include "ranking_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>

#include "fst/crc32c.h"
#include "fst/fst_format.h"
#include "ranking_index_builder.h"
#include "ranking_index_format.h"
#include "test_dict.h"
#include "utf8.h"

namespace ornav {
namespace {

using testing::KeyCounts;

struct Built {
  KeyCounts unigram, bigram;
  fst::Map uni, bi;
  std::vector<std::uint8_t> bytes;
};

Built build(const KeyCounts& unigram, const KeyCounts& bigram, const IndexParams& params) {
  Built b{unigram, bigram, testing::build_map(unigram), testing::build_map(bigram), {}};
  auto bytes = build_ranking_index(b.uni, b.bi, params);
  EXPECT_TRUE(bytes);
  if (bytes) b.bytes = std::move(*bytes);
  return b;
}

std::optional<RankingIndex> open(const Built& b, const std::vector<std::uint8_t>& bytes,
                                 IndexError* why = nullptr) {
  const auto kept = std::make_shared<const std::vector<std::uint8_t>>(bytes);
  return RankingIndex::open(*kept, kept, b.uni, b.bi, why);
}

// Rewrites the trailing checksum, so that a change reaches the checks behind it.
void reseal(std::vector<std::uint8_t>& bytes) {
  const std::uint32_t sum = fst::crc32c(bytes.data(), bytes.size() - 4);
  std::memcpy(bytes.data() + bytes.size() - 4, &sum, 4);
}

std::vector<IndexEntry> list_of(const RankingIndex& index, const RankingIndex::List& list) {
  std::vector<IndexEntry> out;
  for (std::uint32_t k = 0; k < list.size; ++k)
    out.push_back(index.entry(list.first + k));
  return out;
}

// A dictionary over a small alphabet with many ties: lists must follow the full order.
KeyCounts random_words(std::uint32_t seed, int count) {
  std::mt19937 rng(seed);
  static const char* letters[] = {"a", "b", "\xD8\xA7", "\xD9\x84"};
  KeyCounts words;
  while (int(words.size()) < count) {
    std::string w;
    for (int n = 1 + int(rng() % 5); n > 0; --n)
      w += letters[rng() % 4];
    words[w] = rng() % 8;
  }
  return words;
}

TEST(RankingIndexBuilder, PrefixListsAreTheFirstWordsInPlainOrder) {
  const KeyCounts words = random_words(3, 600);
  const IndexParams params{.prefix_threshold = 20,
                           .prefix_list_limit = 12,
                           .long_list_threshold = 100,
                           .long_list_limit = 30};
  const Built b = build(words, {{testing::pair_key("x", "y"), 1}}, params);
  const auto index = open(b, b.bytes);
  ASSERT_TRUE(index);
  EXPECT_EQ(index->prefix_threshold(), 20u);

  // Every whole-character prefix of every word, by brute force.
  std::map<std::string, std::vector<std::pair<std::string, std::uint64_t>>> under;
  for (const auto& [word, count] : words) {
    for (std::size_t end = 1; end <= word.size(); ++end) {
      const std::string prefix = word.substr(0, end);
      if (utf8::is_valid(prefix)) under[prefix].emplace_back(word, count);
    }
  }
  std::size_t listed = 0;
  for (auto& [prefix, members] : under) {
    const auto list = index->prefix(prefix);
    if (members.size() <= params.prefix_threshold) {
      EXPECT_FALSE(list) << prefix;
      continue;
    }
    ASSERT_TRUE(list) << prefix;
    ++listed;
    std::sort(members.begin(), members.end(), [](const auto& a, const auto& b) {
      if (a.second != b.second) return a.second > b.second;
      const auto ca = utf8::count_scalars(a.first), cb = utf8::count_scalars(b.first);
      if (ca != cb) return ca < cb;
      return a.first < b.first;
    });
    const std::size_t limit = members.size() > params.long_list_threshold
                                  ? params.long_list_limit
                                  : params.prefix_list_limit;
    members.resize(std::min(members.size(), limit));
    const auto got = list_of(*index, *list);
    ASSERT_EQ(got.size(), members.size()) << prefix;
    for (std::size_t k = 0; k < got.size(); ++k) {
      EXPECT_EQ(got[k].word, members[k].first) << prefix << " " << k;
      EXPECT_EQ(got[k].count, members[k].second) << prefix << " " << k;
    }
    EXPECT_FALSE(list->complete());
  }
  EXPECT_GT(listed, 10u);
  EXPECT_FALSE(index->prefix("zz"));
}

TEST(RankingIndexBuilder, ContextListsHashesAndBounds) {
  KeyCounts bigram;
  for (int i = 0; i < 40; ++i) {
    bigram[testing::pair_key("many", "w" + std::to_string(i))] = std::uint64_t(i % 7);
  }
  for (int i = 0; i < 3; ++i)
    bigram[testing::pair_key("few", "w" + std::to_string(i))] = 1;
  bigram[testing::pair_key("bad", "\xFF")] = 1;  // not UTF-8: the context gets no list
  for (int i = 0; i < 40; ++i)
    bigram[testing::pair_key("bad", "w" + std::to_string(i))] = 1;
  bigram["no separator"] = 5;
  const IndexParams params{.context_threshold = 10, .context_list_limit = 8};
  const Built b = build({{"w1", 1}}, bigram, params);
  const auto index = open(b, b.bytes);
  ASSERT_TRUE(index);
  EXPECT_FALSE(index->context("few"));
  EXPECT_FALSE(index->context("bad"));
  const auto many = index->context("many");
  ASSERT_TRUE(many);
  EXPECT_EQ(many->pair_count, 40u);
  const auto got = list_of(*index, *many);
  ASSERT_EQ(got.size(), 8u);
  // Pair count descending, bytes ascending: the five words with count 6, then three of the five
  // with count 5; the other two with 5 are not listed.
  EXPECT_EQ(got[0].word, "w13");
  EXPECT_EQ(got[0].count, 6u);
  EXPECT_EQ(got[4].word, "w6");
  EXPECT_EQ(got[5].word, "w12");
  EXPECT_EQ(got[7].word, "w26");
  EXPECT_EQ(got[7].count, 5u);
  EXPECT_EQ(many->rest_max, 5u);
  for (int i = 0; i < 40; ++i)
    EXPECT_TRUE(index->may_follow(*many, "w" + std::to_string(i))) << i;
  int strangers = 0;
  for (int i = 0; i < 1000; ++i)
    strangers += index->may_follow(*many, "x" + std::to_string(i));
  EXPECT_LT(strangers, 3);  // a 32-bit hash rarely collides
}

// The lists of a busy context's continuations under each of their prefixes with many pairs: the
// continuations that are words, by corpus count + 100 x pair count, against brute force.
TEST(RankingIndexBuilder, ContextPrefixListsRankByCorpusAndPairCounts) {
  const KeyCounts words = random_words(7, 300);
  KeyCounts pairs;
  std::mt19937 rng(1);
  for (const auto& [word, count] : words) {
    if (rng() % 2) pairs[testing::pair_key("c", word)] = rng() % 3;
  }
  pairs[testing::pair_key("c", "a\xD8\xA7x")] = 9;  // not a word: counted, never listed
  const Built b = build(words, pairs, {.prefix_list_limit = 8, .context_threshold = 10});
  const auto index = open(b, b.bytes);
  ASSERT_TRUE(index);
  const auto context = index->context("c");
  ASSERT_TRUE(context);
  std::map<std::string, std::vector<std::pair<std::string, std::uint64_t>>> ranked;
  std::map<std::string, std::uint64_t> pairs_under;
  for (const auto& [key, count] : pairs) {
    const std::string word = key.substr(2);
    for (std::size_t end = 1; end <= word.size(); ++end) {
      const std::string prefix = word.substr(0, end);
      if (!utf8::is_valid(prefix)) continue;
      ++pairs_under[prefix];
      if (words.contains(word)) ranked[prefix].emplace_back(word, words.at(word) + 100 * count);
    }
  }
  for (auto& [prefix, n] : pairs_under) {
    const auto list = index->context_prefix(*context, prefix);
    ASSERT_EQ(bool(list), n > 10) << prefix;
    if (!list) continue;
    auto& want = ranked[prefix];
    std::sort(want.begin(), want.end(), [](const auto& x, const auto& y) {
      if (x.second != y.second) return x.second > y.second;
      const auto cx = utf8::count_scalars(x.first), cy = utf8::count_scalars(y.first);
      return cx != cy ? cx < cy : x.first < y.first;
    });
    EXPECT_EQ(list->word_count, want.size()) << prefix;
    want.resize(std::min<std::size_t>(want.size(), 8));
    std::vector<std::pair<std::string, std::uint64_t>> got;
    for (const IndexEntry& e : list_of(*index, *list))
      got.emplace_back(e.word, e.count);
    EXPECT_EQ(got, want) << prefix;
  }
}

TEST(RankingIndexBuilder, NeedsMapsWithAChecksum) {
  const fst::Map uni = testing::build_map({{"a", 1}});
  // A version 2 map: no stored checksum to bind to.
  std::vector<std::uint8_t> v2 = testing::build_map_bytes({{"a", 1}});
  v2[0] = 2;
  v2.resize(v2.size() - 4);
  const auto old_map = fst::Map::open(v2);
  ASSERT_TRUE(old_map);
  EXPECT_FALSE(build_ranking_index(*old_map, uni));
  EXPECT_FALSE(build_ranking_index(uni, *old_map));
  EXPECT_TRUE(build_ranking_index(uni, uni));
}

// Continuations of "a" with the counts 20, 19, ..., 9: more than a context list holds.
KeyCounts twelve_continuations() {
  KeyCounts pairs;
  for (int i = 0; i < 12; ++i)
    pairs[testing::pair_key("a", "w" + std::to_string(i))] = std::uint64_t(20 - i);
  return pairs;
}

class RankingIndexReader : public ::testing::Test {
 protected:
  RankingIndexReader()
      : built_(build(random_words(5, 400), twelve_continuations(),
                     {.prefix_threshold = 10,
                      .prefix_list_limit = 10,
                      .context_threshold = 4,
                      .context_list_limit = 4})) {}
  IndexError refusal(const std::vector<std::uint8_t>& bytes) {
    IndexError why{};
    EXPECT_FALSE(open(built_, bytes, &why));
    return why;
  }
  Built built_;
};

TEST_F(RankingIndexReader, OpensWhatWasBuilt) {
  EXPECT_TRUE(open(built_, built_.bytes));
}

TEST_F(RankingIndexReader, RefusesDamagedOrForeignFiles) {
  auto bytes = built_.bytes;
  EXPECT_EQ(refusal({}), IndexError::too_short);
  EXPECT_EQ(refusal({bytes.begin(), bytes.begin() + 100}), IndexError::too_short);
  bytes[0] ^= 1;
  EXPECT_EQ(refusal(bytes), IndexError::bad_magic);
  bytes = built_.bytes;
  bytes[ranking_index::kVersionAt] = ranking_index::kVersion + 1;
  EXPECT_EQ(refusal(bytes), IndexError::unknown_version);
  for (const std::size_t at : {std::size_t{200}, bytes.size() / 2, bytes.size() - 5}) {
    bytes = built_.bytes;
    bytes[at] ^= 0x40;
    EXPECT_EQ(refusal(bytes), IndexError::bad_checksum) << at;
  }
  bytes = built_.bytes;
  bytes.resize(bytes.size() - 1);
  EXPECT_EQ(refusal(bytes), IndexError::bad_checksum);
}

TEST_F(RankingIndexReader, RefusesAnIndexOfOtherMaps) {
  // The same words with one count changed: another map of the same size.
  KeyCounts other = built_.unigram;
  other.begin()->second += 1;
  const Built changed{
      other, built_.bigram, testing::build_map(other), testing::build_map(built_.bigram), {}};
  IndexError why{};
  const auto kept = std::make_shared<const std::vector<std::uint8_t>>(built_.bytes);
  EXPECT_FALSE(RankingIndex::open(*kept, kept, changed.uni, changed.bi, &why));
  EXPECT_EQ(why, IndexError::other_maps);
  // Maps swapped.
  EXPECT_FALSE(RankingIndex::open(*kept, kept, built_.bi, built_.uni, &why));
  EXPECT_EQ(why, IndexError::other_maps);
}

TEST_F(RankingIndexReader, RefusesInconsistentLayoutsEvenWithAValidChecksum) {
  const auto with = [&](std::size_t at, std::uint64_t value, int width) {
    auto bytes = built_.bytes;
    std::memcpy(bytes.data() + at, &value, std::size_t(width));
    reseal(bytes);
    return bytes;
  };
  EXPECT_EQ(refusal(with(ranking_index::kHeaderSizeAt, 64, 4)), IndexError::bad_layout);
  EXPECT_EQ(refusal(with(ranking_index::kPoolSizeAt, 1, 8)), IndexError::bad_layout);
  EXPECT_EQ(refusal(with(ranking_index::kEntryCountAt, ~std::uint64_t{0} / 4, 8)),
            IndexError::bad_layout);
  EXPECT_EQ(refusal(with(ranking_index::kPrefixCountAt, 0xFFFFFFFF, 4)), IndexError::bad_layout);
  // The first prefix record's text, list and the first entry's word pointing outside.
  const std::size_t record = ranking_index::kHeaderSize;
  EXPECT_EQ(refusal(with(record, 0xFFFFFF00, 4)), IndexError::bad_record);
  EXPECT_EQ(refusal(with(record + 8, 0xFFFFFF00, 4)), IndexError::bad_record);
  EXPECT_EQ(refusal(with(record + 12, 0, 4)), IndexError::bad_record);
  EXPECT_EQ(refusal(with(record + 12, 0xFFFFFFFF, 4)), IndexError::bad_record);
  EXPECT_EQ(refusal(with(record + 16, 0, 8)), IndexError::bad_record);  // fewer keys than listed
}

TEST_F(RankingIndexReader, RefusesUnsortedRecords) {
  auto bytes = built_.bytes;
  const auto index = open(built_, bytes);
  ASSERT_TRUE(index);
  // Swap the first two prefix records.
  const std::size_t first = ranking_index::kHeaderSize, size = ranking_index::kPrefixRecordSize;
  std::swap_ranges(bytes.begin() + long(first), bytes.begin() + long(first + size),
                   bytes.begin() + long(first + size));
  reseal(bytes);
  EXPECT_EQ(refusal(bytes), IndexError::bad_record);
}

TEST_F(RankingIndexReader, RefusesAContextRecordOutOfOrder) {
  const auto u32 = [&](std::size_t at) { return fst::format::load_u32(built_.bytes.data() + at); };
  const auto u64 = [&](std::size_t at) { return fst::format::load_u64(built_.bytes.data() + at); };
  const std::size_t context = ranking_index::kHeaderSize +
                              u32(ranking_index::kPrefixCountAt) * ranking_index::kPrefixRecordSize;
  ASSERT_EQ(u32(ranking_index::kContextCountAt), 1u);
  ASSERT_EQ(u64(context + 24), 16u);  // 20, 19, 18, 17 listed; 16 the largest other count
  const std::size_t hashes = context + ranking_index::kContextRecordSize +
                             u64(ranking_index::kEntryCountAt) * ranking_index::kEntrySize;
  const std::size_t first_hash = hashes + u64(context + 32) * ranking_index::kHashSize;

  // Hashes out of order: a search by halving would miss continuations.
  auto bytes = built_.bytes;
  std::swap_ranges(bytes.begin() + long(first_hash), bytes.begin() + long(first_hash + 4),
                   bytes.begin() + long(first_hash + 4));
  reseal(bytes);
  EXPECT_EQ(refusal(bytes), IndexError::bad_record);
  // An unlisted pair above the last listed one (though not above the first).
  bytes = built_.bytes;
  bytes[context + 24] = 18;
  reseal(bytes);
  EXPECT_EQ(refusal(bytes), IndexError::bad_record);
}

}  // namespace
}  // namespace ornav
