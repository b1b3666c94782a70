// WordCounts: prefix ranges, visits from the highest count down (against a sort of the range),
// and counts and words that change after the tree was built.
#include "word_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ranking_index_format.h"

namespace ornav {
namespace {

std::vector<std::uint64_t> visit(const WordCounts& counts, std::string_view prefix) {
  WordCounts::Descending::Heap heap;
  WordCounts::Descending order(counts, counts.range(prefix), heap);
  std::vector<std::uint64_t> seen;
  while (const WordCounts::Entry* e = order.next()) {
    EXPECT_EQ(e->word.substr(0, prefix.size()), prefix);
    seen.push_back(e->count);
  }
  return seen;
}

std::vector<std::uint64_t> expected(const FreqTable& table, std::string_view prefix) {
  std::vector<std::uint64_t> counts;
  for (const auto& [word, count] : table) {
    if (word.substr(0, prefix.size()) == prefix) counts.push_back(count);
  }
  std::sort(counts.rbegin(), counts.rend());
  return counts;
}

TEST(WordCounts, VisitsEveryRangeFromTheHighestCountDown) {
  std::mt19937 rng(3);
  for (int round = 0; round < 50; ++round) {
    FreqTable table;
    for (int i = int(rng() % 300); i > 0; --i) {
      std::string w;
      for (int n = 1 + int(rng() % 4); n > 0; --n)
        w.push_back("abc"[rng() % 3]);
      table[w] = rng() % 20;
    }
    WordCounts counts;
    counts.rebuild(table);
    ASSERT_EQ(counts.entries().size(), table.size());
    for (const char* prefix : {"", "a", "b", "ab", "cab", "abca", "d"})
      EXPECT_EQ(visit(counts, prefix), expected(table, prefix)) << prefix;
  }
}

TEST(WordCounts, RangesAreTheWordsUnderThePrefix) {
  const FreqTable table{{"a", 1}, {"ab", 2}, {"abc", 3}, {"b", 4}, {"ba", 5}};
  WordCounts counts;
  counts.rebuild(table);
  EXPECT_EQ(counts.range("a"), (std::pair<std::size_t, std::size_t>{0, 3}));
  EXPECT_EQ(counts.range("ab"), (std::pair<std::size_t, std::size_t>{1, 3}));
  EXPECT_EQ(counts.range("b"), (std::pair<std::size_t, std::size_t>{3, 5}));
  EXPECT_EQ(counts.range("c"), (std::pair<std::size_t, std::size_t>{5, 5}));
  EXPECT_EQ(counts.range(""), (std::pair<std::size_t, std::size_t>{0, 5}));
  WordCounts empty;
  empty.rebuild({});
  EXPECT_EQ(visit(empty, "a"), std::vector<std::uint64_t>{});
}

TEST(WordCounts, ChangedAndAddedWordsKeepTheOrderRight) {
  FreqTable table{{"b", 5}, {"d", 1}};
  WordCounts counts(/*hashed=*/true);
  counts.rebuild(table);
  std::mt19937 rng(8);
  for (int step = 0; step < 400; ++step) {
    std::string w(1 + rng() % 2, 'a');
    w[0] = "abcdef"[rng() % 6];
    if (w.size() > 1) w[1] = "xy"[rng() % 2];
    const auto [it, added] = table.try_emplace(w, 0);
    it->second = rng() % 50;
    counts.set(it->first, it->second);
    ASSERT_EQ(counts.entries().size(), table.size());
    ASSERT_EQ(visit(counts, ""), expected(table, ""));
    ASSERT_EQ(visit(counts, "c"), expected(table, "c"));
  }
  // Every word's hash, in hash order, pointing at its entry.
  const auto by_hash = counts.by_hash();
  ASSERT_EQ(by_hash.size(), table.size());
  EXPECT_TRUE(std::is_sorted(by_hash.begin(), by_hash.end()));
  for (const auto& [hash, position] : by_hash)
    EXPECT_EQ(hash, ranking_index::word_hash(counts.entries()[position].word));
  WordCounts plain;
  plain.rebuild(table);
  EXPECT_TRUE(plain.by_hash().empty());
}

}  // namespace
}  // namespace ornav
