#include "word_counts.h"

#include <algorithm>

#include "ranking_index_format.h"

namespace ornav {

void WordCounts::rebuild(const FreqTable& table) {
  std::vector<Entry> entries;
  entries.reserve(table.size());
  for (const auto& [word, count] : table)
    entries.push_back({word, count});
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.word < b.word; });
  adopt(std::move(entries));
}

void WordCounts::adopt(std::vector<Entry> entries) {
  // Everything is built aside first, so a failed allocation leaves the old state whole.
  const std::size_t n = entries.size();
  std::vector<std::uint32_t> tree(2 * n);
  const auto better = [&](std::uint32_t a, std::uint32_t b) {
    return entries[b].count > entries[a].count ? b : a;
  };
  for (std::size_t i = 0; i < n; ++i)
    tree[n + i] = static_cast<std::uint32_t>(i);
  for (std::size_t k = n; k-- > 1;)
    tree[k] = better(tree[2 * k], tree[2 * k + 1]);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> by_hash;
  if (hashed_) {
    by_hash.resize(n);
    for (std::size_t i = 0; i < n; ++i)
      by_hash[i] = {ranking_index::word_hash(entries[i].word), static_cast<std::uint32_t>(i)};
    std::sort(by_hash.begin(), by_hash.end());
  }
  entries_.swap(entries);
  tree_.swap(tree);
  by_hash_.swap(by_hash);
}

void WordCounts::set(std::string_view word, std::uint64_t count) {
  const auto at = std::lower_bound(entries_.begin(), entries_.end(), word,
                                   [](const Entry& e, std::string_view w) { return e.word < w; });
  if (at == entries_.end() || at->word != word) {
    // A new word moves every later position: everything is built again.
    std::vector<Entry> entries;
    entries.reserve(entries_.size() + 1);
    entries.insert(entries.end(), entries_.begin(), at);
    entries.push_back({word, count});
    entries.insert(entries.end(), at, entries_.end());
    adopt(std::move(entries));
    return;
  }
  at->count = count;
  const std::size_t n = entries_.size();
  for (std::size_t k = (n + std::size_t(at - entries_.begin())) / 2; k >= 1; k /= 2)
    tree_[k] = better(tree_[2 * k], tree_[2 * k + 1]);
}

std::pair<std::size_t, std::size_t> WordCounts::range(std::string_view prefix) const {
  const auto first =
      std::lower_bound(entries_.begin(), entries_.end(), prefix,
                       [](const Entry& e, std::string_view p) { return e.word < p; });
  // Words that begin with the prefix follow it directly in byte order.
  const auto last = std::partition_point(first, entries_.end(), [&](const Entry& e) {
    return e.word.substr(0, prefix.size()) == prefix;
  });
  return {std::size_t(first - entries_.begin()), std::size_t(last - entries_.begin())};
}

WordCounts::Descending::Descending(const WordCounts& counts,
                                   std::pair<std::size_t, std::size_t> range, Heap& heap)
    : counts_(counts), heap_(heap) {
  heap_.clear();
  // The nodes whose leaves together are exactly the range.
  const std::size_t n = counts.entries_.size();
  for (std::size_t low = range.first + n, high = range.second + n; low < high;
       low /= 2, high /= 2) {
    if (low & 1) push(static_cast<std::uint32_t>(low++));
    if (high & 1) push(static_cast<std::uint32_t>(--high));
  }
}

void WordCounts::Descending::push(std::uint32_t node) {
  heap_.emplace_back(counts_.entries_[counts_.tree_[node]].count, node);
  std::push_heap(heap_.begin(), heap_.end());
}

const WordCounts::Entry* WordCounts::Descending::next() {
  const std::size_t n = counts_.entries_.size();
  while (!heap_.empty()) {
    std::pop_heap(heap_.begin(), heap_.end());
    const std::uint32_t node = heap_.back().second;
    heap_.pop_back();
    if (node >= n) return &counts_.entries_[node - n];
    push(2 * node);
    push(2 * node + 1);
  }
  return nullptr;
}

}  // namespace ornav
