#include "ranking.h"

#include <algorithm>

#include "saturating.h"
#include "utf8.h"

namespace ornav {
namespace {

bool starts_with(std::string_view word, std::string_view prefix) {
  return word.substr(0, prefix.size()) == prefix;
}

// Keeps the `list_limit` best of the items offered, by a strict total order `better`, then
// writes their words best first. Equivalent to a stable sort of everything cut to the limit,
// because `better` never leaves two offered items unordered.
template <typename Better>
void select_best(RankingScratch& s, Better better, std::vector<std::string>& out) {
  auto& heap = s.heap;
  heap.clear();
  // A max-heap under "worse", so the front is the worst item kept.
  const auto worse = [&](std::uint32_t a, std::uint32_t b) { return better(a, b); };
  for (std::uint32_t i = 0; i < s.items.size(); ++i) {
    if (heap.size() < list_limit) {
      heap.push_back(i);
      std::push_heap(heap.begin(), heap.end(), worse);
    } else if (s.items[i].score >= s.items[heap.front()].score && better(i, heap.front())) {
      std::pop_heap(heap.begin(), heap.end(), worse);
      heap.back() = i;
      std::push_heap(heap.begin(), heap.end(), worse);
    }
  }
  std::sort(heap.begin(), heap.end(), better);
  out.resize(heap.size());
  for (std::size_t k = 0; k < heap.size(); ++k)
    out[k].assign(s.items[heap[k]].word);
}

// Fills s.items with every word that begins with the buffer and its base count: the unigram
// keys, then the cloud dictionary merged by maximum. Items end up sorted by word bytes.
void collect_prefix_words(const RankingInput& in, RankingScratch& s) {
  s.arena.clear();
  s.slots.clear();
  s.items.clear();
  s.lossy_table.clear();
  bool lossy = false;  // a key with invalid UTF-8 was seen: words may collide after replacement

  fst::PrefixStream stream = in.unigram.prefix_stream(in.buffer);
  while (stream.next()) {
    const std::string_view key = stream.key();
    if (!lossy && utf8::is_valid(key)) {
      s.slots.push_back({s.arena.size(), key.size(), stream.value()});
      s.arena.append(key);
      continue;
    }
    if (!lossy) {
      lossy = true;
      for (const auto& slot : s.slots) {
        s.lossy_table.emplace(s.arena.substr(slot.offset, slot.size), slot.base);
      }
    }
    s.lossy_table.insert_or_assign(utf8::to_lossy(key), stream.value());
  }

  auto& extras = s.side;
  extras.clear();
  for (const auto& [word, count] : in.extra_dict) {
    if (starts_with(word, in.buffer)) extras.emplace_back(word, count);
  }

  if (lossy) {
    for (const auto& [word, count] : extras) {
      auto [it, added] = s.lossy_table.emplace(word, count);
      if (!added) it->second = std::max(it->second, count);
    }
    for (const auto& [word, base] : s.lossy_table)
      s.items.push_back({word, base});
    std::sort(s.items.begin(), s.items.end(),
              [](const auto& a, const auto& b) { return a.word < b.word; });
    return;
  }

  // Both lists are in byte order: merge them, taking the larger count for a shared word.
  std::sort(extras.begin(), extras.end());
  std::size_t e = 0;
  const std::string_view arena = s.arena;
  for (const auto& slot : s.slots) {
    const std::string_view word = arena.substr(slot.offset, slot.size);
    for (; e < extras.size() && extras[e].first < word; ++e) {
      s.items.push_back({extras[e].first, extras[e].second});
    }
    std::uint64_t base = slot.base;
    if (e < extras.size() && extras[e].first == word) base = std::max(base, extras[e++].second);
    s.items.push_back({word, base});
  }
  for (; e < extras.size(); ++e)
    s.items.push_back({extras[e].first, extras[e].second});
}

void rank_prefix(const RankingInput& in, RankingScratch& s, std::vector<std::string>& out) {
  collect_prefix_words(in, s);
  auto& items = s.items;

  // Pair counts after the context word: every pair key that could match an item is under
  // context + separator + buffer, in the same byte order as the items, so one merged walk does
  // what an exact lookup per item would.
  if (in.prev_word) {
    s.key.assign(*in.prev_word);
    s.key.push_back(pair_separator);
    const std::size_t word_start = s.key.size();
    s.key.append(in.buffer);
    fst::PrefixStream pairs = in.bigram.prefix_stream(s.key);
    std::size_t i = 0;
    while (i < items.size() && pairs.next()) {
      const std::string_view next_word = pairs.key().substr(word_start);
      while (i < items.size() && items[i].word < next_word)
        ++i;
      if (i < items.size() && items[i].word == next_word) {
        items[i].score =
            saturating_add(items[i].score, saturating_mul(pairs.value(), bigram_weight));
      }
    }
  }

  // The user's picks, the same way: filtered by the buffer, sorted, merged.
  auto& picks = s.side;
  picks.clear();
  for (const auto& [word, count] : in.user_freq) {
    if (starts_with(word, in.buffer)) picks.emplace_back(word, count);
  }
  std::sort(picks.begin(), picks.end());
  std::size_t i = 0;
  for (const auto& [word, count] : picks) {
    while (i < items.size() && items[i].word < word)
      ++i;
    if (i == items.size()) break;
    if (items[i].word == word) {
      items[i].score = saturating_add(saturating_mul(count, user_weight), items[i].score);
    }
  }

  for (auto& item : items) {
    if (item.word == in.buffer) item.score = saturating_add(item.score, exact_match_bonus);
  }

  select_best(
      s,
      [&](std::uint32_t a, std::uint32_t b) {
        const auto& x = items[a];
        const auto& y = items[b];
        if (x.score != y.score) return x.score > y.score;
        const std::size_t cx = utf8::count_scalars(x.word), cy = utf8::count_scalars(y.word);
        if (cx != cy) return cx < cy;
        return x.word < y.word;
      },
      out);
}

void rank_predictions(const RankingInput& in, RankingScratch& s, std::vector<std::string>& out) {
  s.arena.clear();
  s.slots.clear();
  s.items.clear();
  s.key.assign(*in.prev_word);
  s.key.push_back(pair_separator);

  std::string text;
  fst::PrefixStream pairs = in.bigram.prefix_stream(s.key);
  while (pairs.next()) {
    std::string_view key = pairs.key();
    if (!utf8::is_valid(key)) {
      text = utf8::to_lossy(key);
      key = text;
    }
    const std::size_t separator = key.find(pair_separator);
    if (separator == std::string_view::npos) continue;
    const std::string_view word = key.substr(separator + 1);
    std::uint64_t score = pairs.value();
    if (const auto pick = in.user_freq.find(word); pick != in.user_freq.end()) {
      score = saturating_add(score, saturating_mul(pick->second, user_weight));
    }
    s.slots.push_back({s.arena.size(), word.size(), score});
    s.arena.append(word);
  }
  const std::string_view arena = s.arena;
  for (const auto& slot : s.slots) {
    s.items.push_back({arena.substr(slot.offset, slot.size), slot.base});
  }

  // Equal scores keep the pair map's key order.
  select_best(
      s,
      [&](std::uint32_t a, std::uint32_t b) {
        if (s.items[a].score != s.items[b].score) return s.items[a].score > s.items[b].score;
        return a < b;
      },
      out);
}

}  // namespace

void rank_candidates(const RankingInput& input, RankingScratch& scratch,
                     std::vector<std::string>& out) {
  if (!input.buffer.empty()) {
    rank_prefix(input, scratch, out);
  } else if (input.prev_word) {
    rank_predictions(input, scratch, out);
  } else {
    out.clear();
  }
}

}  // namespace ornav
