// Why the fast path gives exactly the plain list (prefix mode, buffer B, optional context C).
//
// Every word of the word map under B has a base: its corpus count, or, when C has many pairs
// under B (point 4), its corpus count + 100 * its pair count after C. The words are read in base
// order (base descending, fewer characters first, bytes ascending) from a list: the index's list of
// B, or every key under B when there are few (then it is complete), merged in point 4 with the
// listed pair words. The list is processed from the front, each word scored exactly; `floor` is the
// base of the last word processed. Every unprocessed word under B in the word map comes after all
// processed ones in base order, so its base is at most `floor`.
//
// 1. A word is plain when its score is its base. Each processed word ranks before every
//    unprocessed plain word: its score is at least its base, which is at least the other's; when
//    both are equal, base order decides, and the processed word comes first in it. So once 50
//    words are processed, no unprocessed plain word can be in the result.
// 2. Any other unprocessed word is raised: it was picked (user table), is in the cloud table, is
//    B itself, or has a pair after C that its base leaves out. B is scored exactly. A word scores
//    at most
//      picks * 100000 + max(floor, cloud) + 100 * pair     (the base is the corpus count)
//      picks * 100000 + max(floor, cloud + 100 * pair)     (the base holds the pair)
//    When that bound, with the word's own length and bytes, ranks after the 50th best word scored
//    so far, 50 words rank before the word, and it is dropped; otherwise it is scored exactly.
//    Picks are visited by pick count and cloud words by cloud count, highest first, so the visit
//    ends once the bound of the next one, with the largest pair count possible, is below the 50th
//    best score.
// 3. A cloud word whose bound without picks is below floor is covered by point 1 or ranks below
//    every processed word, unless a pair its base leaves out raises it: then it is treated as a
//    pair word below.
// 4. Pairs after C under B. When they are few (C has few pairs, or few under B), they are walked:
//    a word with a pair is raised, bounded by floor + 100 * pair and scored when that bound does
//    not rule it out. When they are many, the index lists the first words under B that have a
//    pair after C, in base order with the pair. The plain list is merged with that list: a plain
//    word that is not listed is taken, with its corpus count as base, only while it ranks before
//    the next listed word (or, all listed words taken, before the last of them when the listing is
//    incomplete). Had it a pair, its base would rank before that word too, and it would have been
//    listed; so it has none, and every unlisted pair word still ranks after it. A listed word is
//    taken while it ranks before the next plain word, or where the plain list ended incomplete,
//    not after its last word. Where neither may be taken, processing stops.
// A list that ends before 50 words are processed gives no bound: the plain ranking runs. All sums
// saturate, which keeps every bound an upper bound.
//
// Prediction mode is the same argument with the score pair(C, w) + 100000 * picks(w): the
// continuations come in the index's order (pair count descending, bytes ascending), and only
// picked words can be raised.
#include "fast_ranking.h"

#include <algorithm>
#include <type_traits>

#include "saturating.h"
#include "utf8.h"

namespace ornav {
namespace {

// Prefixes without an index list: how many keys are walked before the plain ranking takes over.
constexpr std::size_t kWalkLimit = 256;
constexpr std::size_t kMaxWalkLimit = 4096;
// How many of a walked list's best words are put in order first: a little more than the 50 that
// processing usually needs.
constexpr std::size_t kWalkedFirstSorted = 64;

bool starts_with(std::string_view word, std::string_view prefix) {
  return word.substr(0, prefix.size()) == prefix;
}

std::optional<std::uint64_t> find(const FreqTable& table, std::string_view word) {
  if (table.empty()) return std::nullopt;
  const auto it = table.find(word);
  if (it == table.end()) return std::nullopt;
  return it->second;
}

template <typename Item>
const Item* find_word(const std::vector<Item>& by_word, std::string_view word) {
  const auto it =
      std::lower_bound(by_word.begin(), by_word.end(), word,
                       [](const Item& item, std::string_view w) { return item.word < w; });
  return it != by_word.end() && it->word == word ? &*it : nullptr;
}

std::uint32_t chars_of(std::string_view word) {
  return static_cast<std::uint32_t>(utf8::count_scalars(word));
}

// Prefix mode's order: score descending, fewer characters first, bytes ascending. It is also the
// order of a prefix list, with the corpus count as the score.
struct RanksBefore {
  template <typename Item>
  bool operator()(const Item& a, const Item& b) const {
    if (a.score != b.score) return a.score > b.score;
    if (a.chars != b.chars) return a.chars < b.chars;
    return a.word < b.word;
  }
};

// Prediction mode's order: score descending, then the pair map's key order (the continuations'
// bytes). It is also the order of a context list, with the pair count as the score.
struct PredictsBefore {
  template <typename Item>
  bool operator()(const Item& a, const Item& b) const {
    if (a.score != b.score) return a.score > b.score;
    return a.word < b.word;
  }
};

// A sorted sequence that holds a word twice: only a damaged list can give one.
template <typename Item>
bool has_repeats(const std::vector<Item>& sorted) {
  const auto word = [](const auto& item) -> std::string_view {
    if constexpr (std::is_same_v<Item, std::string_view>) {
      return item;
    } else {
      return item.word;
    }
  };
  for (std::size_t k = 1; k < sorted.size(); ++k) {
    if (word(sorted[k - 1]) == word(sorted[k])) return true;
  }
  return false;
}

bool continues_before(const IndexEntry& a, const IndexEntry& b) {
  if (a.count != b.count) return a.count > b.count;
  return a.word < b.word;
}

}  // namespace

void FastRanker::rank(const RankingInput& input, const RankingAids& aids,
                      std::vector<std::string>& out) {
  if (input.buffer.empty() && !input.prev_word) {
    route_ = Route::none;
    out.clear();
    return;
  }
  const bool done =
      input.buffer.empty() ? rank_prediction(input, aids, out) : rank_prefix(input, aids, out);
  if (done) return;
  route_ = Route::plain;
  rank_candidates(input, plain_, out);
}

template <typename Before>
void FastRanker::note(std::string_view word, std::uint64_t score, Before before) {
  const auto at = static_cast<std::uint32_t>(items_.size());
  items_.push_back({word, score, chars_of(word)});
  // A heap whose front is the worst of the best 50.
  const auto worse = [&](std::uint32_t a, std::uint32_t b) { return before(items_[a], items_[b]); };
  if (top_.size() < list_limit) {
    top_.push_back(at);
    std::push_heap(top_.begin(), top_.end(), worse);
  } else if (before(items_[at], items_[top_.front()])) {
    std::pop_heap(top_.begin(), top_.end(), worse);
    top_.back() = at;
    std::push_heap(top_.begin(), top_.end(), worse);
  }
}

template <typename Before>
bool FastRanker::emit(Before before, std::vector<std::string>& out) {
  std::sort(top_.begin(), top_.end(),
            [&](std::uint32_t a, std::uint32_t b) { return before(items_[a], items_[b]); });
  // Words from an index list reach the caller: a damaged list must not hand out broken text.
  for (const std::uint32_t at : top_) {
    if (!utf8::is_valid(items_[at].word)) return false;
  }
  out.resize(top_.size());
  for (std::size_t k = 0; k < top_.size(); ++k)
    out[k].assign(items_[top_[k]].word);
  return true;
}

bool FastRanker::walk_list(const fst::Map& unigram, std::string_view prefix, std::size_t limit) {
  walked_.clear();
  walked_text_.clear();
  ends_.clear();
  // Every key begins with the prefix. When the prefix is whole UTF-8 text (the buffer always is),
  // a key is valid exactly when the rest after the prefix is, and has the prefix's characters
  // plus the rest's: only the rest is looked at.
  const std::optional<std::size_t> prefix_chars = utf8::valid_scalar_count(prefix);
  const std::size_t checked_from = prefix_chars ? prefix.size() : 0;
  fst::PrefixStream stream = unigram.prefix_stream(prefix);
  while (stream.next()) {
    if (walked_.size() == limit) return false;
    const std::string_view key = stream.key();
    const std::optional<std::size_t> rest_chars =
        utf8::valid_scalar_count(key.substr(checked_from));
    // Keys that are not UTF-8 become replacement text and may then collide: the plain ranking
    // handles that case.
    if (!rest_chars) return false;
    walked_text_.append(key);
    ends_.push_back(walked_text_.size());
    walked_.push_back(
        {{}, stream.value(), static_cast<std::uint32_t>(prefix_chars.value_or(0) + *rest_chars)});
  }
  std::size_t start = 0;
  for (std::size_t k = 0; k < walked_.size(); ++k) {
    walked_[k].word = std::string_view(walked_text_).substr(start, ends_[k] - start);
    start = ends_[k];
  }
  return true;
}

void FastRanker::stream_pairs(const fst::Map& bigram, std::string_view context,
                              std::string_view prefix) {
  pairs_.clear();
  pair_text_.clear();
  ends_.clear();
  key_.assign(context);
  key_.push_back(pair_separator);
  const std::size_t word_start = key_.size();
  key_.append(prefix);
  fst::PrefixStream stream = bigram.prefix_stream(key_);
  while (stream.next()) {
    const std::string_view word = stream.key().substr(word_start);
    // Every word that can be a candidate here is valid UTF-8, so no other word can match.
    if (!utf8::is_valid(word)) continue;
    pair_text_.append(word);
    ends_.push_back(pair_text_.size());
    pairs_.push_back({{}, stream.value()});
  }
  std::size_t start = 0;
  for (std::size_t k = 0; k < pairs_.size(); ++k) {
    pairs_[k].word = std::string_view(pair_text_).substr(start, ends_[k] - start);
    start = ends_[k];
  }
}

bool FastRanker::read_context_prefix(const RankingIndex& index,
                                     const RankingIndex::ContextPrefixList& list,
                                     std::string_view buffer) {
  ranked_pairs_.clear();
  members_.clear();
  const RanksBefore before;
  for (std::uint32_t k = 0; k < list.size; ++k) {
    const IndexEntry e = index.entry(list.first + k);
    const Scored word{e.word, e.count, chars_of(e.word)};
    if (!starts_with(word.word, buffer) || (k > 0 && !before(ranked_pairs_.back(), word)))
      return false;  // a damaged list
    ranked_pairs_.push_back(word);
    members_.push_back(word.word);
  }
  std::sort(members_.begin(), members_.end());
  return !has_repeats(members_);
}

bool FastRanker::rank_prefix(const RankingInput& in, const RankingAids& aids,
                             std::vector<std::string>& out) {
  const std::string_view buffer = in.buffer;
  const RankingIndex* const index = aids.index;
  std::optional<RankingIndex::PrefixList> listed;
  if (index) listed = index->prefix(buffer);
  if (!listed) {
    const std::size_t limit =
        index ? std::min<std::size_t>(std::max<std::size_t>(index->prefix_threshold(), kWalkLimit),
                                      kMaxWalkLimit)
              : kWalkLimit;
    if (!walk_list(in.unigram, buffer, limit)) return false;
  }
  const std::uint32_t plain_size =
      listed ? listed->size : static_cast<std::uint32_t>(walked_.size());
  const bool plain_complete = listed ? listed->complete() : true;
  // A walked list is put in plain order only as far as it is processed: its best words first
  // (most often processing stops a little past the 50th), the rest all at once when processing
  // goes on into them.
  std::size_t walked_in_order = 0;
  const auto plain_entry = [&](std::uint32_t i) {
    if (listed) return index->entry(listed->first + i);
    if (i >= walked_in_order) {
      const auto from = walked_.begin() + std::ptrdiff_t(walked_in_order);
      if (walked_in_order == 0 && walked_.size() > kWalkedFirstSorted && i < kWalkedFirstSorted) {
        std::partial_sort(from, walked_.begin() + std::ptrdiff_t(kWalkedFirstSorted), walked_.end(),
                          RanksBefore());
        walked_in_order = kWalkedFirstSorted;
      } else {
        std::sort(from, walked_.end(), RanksBefore());
        walked_in_order = walked_.size();
      }
    }
    return IndexEntry{walked_[i].word, walked_[i].score};
  };

  // Pairs after the context word: walked when there are few under the buffer, else the listed
  // pair words are merged into the list (point 4).
  std::optional<RankingIndex::ContextList> heavy;
  std::optional<RankingIndex::ContextPrefixList> ranked;
  std::optional<fst::Map::Position> pair_root;
  std::uint64_t pair_max = 0;  // no pair under the buffer has a larger count
  if (in.prev_word) {
    if (index) heavy = index->context(*in.prev_word);
    if (heavy) ranked = index->context_prefix(*heavy, buffer);
    if (ranked) {
      ++counts_.merged_context;
      if (!read_context_prefix(*index, *ranked, buffer)) return false;
      pair_max = std::max(index->entry(heavy->first).count, heavy->rest_max);
      key_.assign(*in.prev_word);
      key_.push_back(pair_separator);
      pair_root = in.bigram.position(key_);
    } else {
      stream_pairs(in.bigram, *in.prev_word, buffer);
      for (const Pair& pair : pairs_)
        pair_max = std::max(pair_max, pair.count);
    }
  }
  const bool pairs_walked = in.prev_word && !ranked;
  const auto pair_count = [&](std::string_view word) -> std::uint64_t {
    if (pairs_walked) {
      const Pair* p = find_word(pairs_, word);
      return p ? p->count : 0;
    }
    if (!pair_root || !index->may_follow(*heavy, word)) return 0;
    return in.bigram.get(*pair_root, word).value_or(0);
  };
  const auto score_of = [&](std::string_view word, std::uint64_t base, std::uint64_t pair) {
    std::uint64_t score = saturating_add(base, saturating_mul(pair, bigram_weight));
    if (const auto picks = find(in.user_freq, word))
      score = saturating_add(saturating_mul(*picks, user_weight), score);
    if (word == buffer) score = saturating_add(score, exact_match_bonus);
    return score;
  };

  items_.clear();
  top_.clear();
  const RanksBefore before;
  const auto add = [&](std::string_view word, std::uint64_t score) { note(word, score, before); };
  const auto full = [&] { return top_.size() == list_limit; };
  const auto fiftieth = [&]() -> const Scored& { return items_[top_.front()]; };
  // Whether 50 scored words rank before every word with at most this score (and, given a word,
  // before that word with it).
  const auto below_all = [&](std::uint64_t bound) { return full() && bound < fiftieth().score; };
  const auto beaten = [&](std::uint64_t bound, std::string_view word) {
    const bool out = full() && before(fiftieth(), Scored{word, bound, chars_of(word)});
    counts_.dropped_by_bound += out;
    return out;
  };

  // The list in base order, from the front (points 1 and 4). `plain_head` is the next plain word
  // that is not a listed pair word, `plain_last` the last plain word read.
  std::uint32_t next_plain = 0, next_ranked = 0;
  std::optional<Scored> plain_head, plain_last;
  const auto advance_plain = [&] {
    plain_head.reset();
    while (next_plain < plain_size) {
      const IndexEntry e = plain_entry(next_plain++);
      const Scored word{e.word, e.count, chars_of(e.word)};
      if (!starts_with(word.word, buffer) || (plain_last && !before(*plain_last, word)))
        return false;  // a damaged list
      plain_last = word;
      if (ranked && std::binary_search(members_.begin(), members_.end(), word.word)) continue;
      plain_head = word;
      break;
    }
    return true;
  };
  if (!advance_plain()) return false;
  processed_.clear();
  std::uint64_t floor = 0;
  // Whether a word ranks before every word a list has yet to give.
  const auto before_unread_ranked = [&](const Scored& word) {
    if (!ranked) return true;
    if (next_ranked < ranked_pairs_.size()) return before(word, ranked_pairs_[next_ranked]);
    if (ranked->complete()) return true;
    return !ranked_pairs_.empty() && before(word, ranked_pairs_.back());
  };
  const auto before_unread_plain = [&](const Scored& word) {
    if (plain_head) return before(word, *plain_head);
    if (plain_complete) return true;
    return plain_last && !before(*plain_last, word);
  };
  while (processed_.size() < list_limit) {
    if (plain_head && before_unread_ranked(*plain_head)) {
      const Scored word = *plain_head;
      if (!advance_plain()) return false;
      std::uint64_t base = word.score;
      if (const auto cloud = find(in.extra_dict, word.word)) base = std::max(base, *cloud);
      // Merged, it has no pair (point 4).
      add(word.word, score_of(word.word, base, ranked ? 0 : pair_count(word.word)));
      processed_.push_back(word.word);
      floor = word.score;
    } else if (ranked && next_ranked < ranked_pairs_.size() &&
               before_unread_plain(ranked_pairs_[next_ranked])) {
      const Scored& word = ranked_pairs_[next_ranked++];
      std::uint64_t score = score_of(word.word, word.score, 0);
      if (const auto cloud = find(in.extra_dict, word.word)) {
        const std::uint64_t corpus = in.unigram.get(word.word).value_or(0);
        score = score_of(word.word, std::max(corpus, *cloud), pair_count(word.word));
      }
      add(word.word, score);
      processed_.push_back(word.word);
      floor = word.score;
    } else {
      break;  // both lists read, or where one ends, words it did not list could come next
    }
  }
  const bool ranked_done = !ranked || (next_ranked == ranked_pairs_.size() && ranked->complete());
  // With both lists read to the end and complete, no word of the word map under the buffer is
  // left.
  const bool words_done = !plain_head && next_plain == plain_size && plain_complete && ranked_done;
  if (processed_.size() < list_limit && !words_done) return false;
  if (words_done) floor = 0;
  route_ = listed ? Route::indexed_prefix : Route::walked_prefix;

  std::sort(processed_.begin(), processed_.end());
  if (has_repeats(processed_)) return false;
  const auto was_processed = [&](std::string_view word) {
    return std::binary_search(processed_.begin(), processed_.end(), word);
  };
  const auto picks_of = [&](std::string_view word) { return find(in.user_freq, word).value_or(0); };
  const auto base_of = [&](std::string_view word) -> std::optional<std::uint64_t> {
    const auto corpus = in.unigram.get(word);
    const auto cloud = find(in.extra_dict, word);
    if (!corpus && !cloud) return std::nullopt;
    return std::max(corpus.value_or(0), cloud.value_or(0));
  };
  const std::uint64_t pair_raise_max = saturating_mul(pair_max, bigram_weight);
  // Point 2: the most an unprocessed word with this cloud count and pair raise scores besides
  // its picks.
  const auto rest_bound = [&](std::uint64_t cloud, std::uint64_t pair_raise) {
    return ranked ? std::max(floor, saturating_add(cloud, pair_raise))
                  : saturating_add(std::max(floor, cloud), pair_raise);
  };

  // The buffer itself, exactly.
  if (!was_processed(buffer)) {
    if (const auto base = base_of(buffer)) add(buffer, score_of(buffer, *base, pair_count(buffer)));
  }

  // Picks, most picked first (point 2).
  const auto [cloud_first, cloud_last] = aids.extra_counts.range(buffer);
  std::uint64_t cloud_max = 0;
  {
    WordCounts::Descending cloud(aids.extra_counts, {cloud_first, cloud_last}, visit_);
    if (const WordCounts::Entry* top = cloud.next()) cloud_max = top->count;
  }
  WordCounts::Descending picks(aids.user_counts, aids.user_counts.range(buffer), visit_);
  while (const WordCounts::Entry* pick = picks.next()) {
    if (pick->count == 0) break;  // the rest are not raised by picks
    const std::uint64_t raise = saturating_mul(pick->count, user_weight);
    if (below_all(saturating_add(raise, rest_bound(cloud_max, pair_raise_max)))) {
      ++counts_.stopped_early;
      break;
    }
    const std::string_view word = pick->word;
    if (was_processed(word) || word == buffer) continue;
    const std::uint64_t cloud = find(in.extra_dict, word).value_or(0);
    const std::uint64_t pair = pair_count(word);
    if (beaten(saturating_add(raise, rest_bound(cloud, saturating_mul(pair, bigram_weight))), word))
      continue;
    if (const auto base = base_of(word)) add(word, score_of(word, *base, pair));
  }

  // Cloud words, highest cloud count first (points 2 and 3): false once the rest cannot enter.
  const auto visit_cloud = [&](const WordCounts::Entry& cloud) {
    if ((ranked ? saturating_add(cloud.count, pair_raise_max) : cloud.count) < floor) return false;
    if (below_all(saturating_add(cloud.count, pair_raise_max))) {
      ++counts_.stopped_early;
      return false;
    }
    // The bound first: it rules out most cloud words, and what it rules out needs no other look.
    const std::string_view word = cloud.word;
    const std::uint64_t pair = pair_count(word);
    if (beaten(rest_bound(cloud.count, saturating_mul(pair, bigram_weight)), word)) return true;
    if (was_processed(word) || word == buffer || picks_of(word) > 0) return true;
    add(word, score_of(word, std::max(in.unigram.get(word).value_or(0), cloud.count), pair));
    return true;
  };
  if (full() && pair_raise_max >= fiftieth().score) {
    // Pairs so large that no cloud count can end the visit: in byte order, without a heap.
    for (const WordCounts::Entry& cloud :
         aids.extra_counts.entries().subspan(cloud_first, cloud_last - cloud_first)) {
      visit_cloud(cloud);
    }
  } else {
    WordCounts::Descending clouds(aids.extra_counts, {cloud_first, cloud_last}, visit_);
    while (const WordCounts::Entry* cloud = clouds.next()) {
      if (!visit_cloud(*cloud)) break;
    }
  }

  // Words raised only by a walked pair, and cloud words below the floor with one (points 3, 4).
  if (pairs_walked && !words_done) {
    for (const Pair& pair : pairs_) {
      const std::string_view word = pair.word;
      if (pair.count == 0 || was_processed(word) || word == buffer || picks_of(word) > 0) continue;
      const auto cloud = find(in.extra_dict, word);
      if (cloud && *cloud >= floor) continue;  // visited with the cloud words
      if (beaten(saturating_add(floor, saturating_mul(pair.count, bigram_weight)), word)) continue;
      if (const auto base = base_of(word)) add(word, score_of(word, *base, pair.count));
    }
  }
  return emit(before, out);
}

bool FastRanker::rank_prediction(const RankingInput& in, const RankingAids& aids,
                                 std::vector<std::string>& out) {
  if (!aids.index) return false;
  const auto listed = aids.index->context(*in.prev_word);
  if (!listed) return false;

  items_.clear();
  top_.clear();
  processed_.clear();
  const PredictsBefore before;
  std::uint32_t i = 0;
  IndexEntry previous;
  for (; i < listed->size && i < list_limit; ++i) {
    const IndexEntry e = aids.index->entry(listed->first + i);
    if (i > 0 && !continues_before(previous, e)) return false;  // a damaged list
    previous = e;
    std::uint64_t score = e.count;
    if (const auto picks = find(in.user_freq, e.word))
      score = saturating_add(score, saturating_mul(*picks, user_weight));
    note(e.word, score, before);
    processed_.push_back(e.word);
  }
  if (i < list_limit && !listed->complete()) return false;
  route_ = Route::indexed_prediction;

  // Picked continuations: a pick can follow the context only if its hash is among the context's.
  // Both hash lists are in order, so each search starts where the last one ended; only the picks
  // found are looked up in the pair map.
  std::sort(processed_.begin(), processed_.end());
  if (has_repeats(processed_)) return false;
  key_.assign(*in.prev_word);
  key_.push_back(pair_separator);
  const auto root = in.bigram.position(key_);
  const auto picks = aids.user_counts.by_hash();
  const auto entries = aids.user_counts.entries();
  if (picks.size() != entries.size()) return false;  // counts kept without their hashes
  std::uint64_t at = 0;                              // into the context's hashes
  for (const auto& [hash, position] : picks) {
    std::uint64_t high = listed->pair_count;
    while (at < high) {
      const std::uint64_t mid = at + (high - at) / 2;
      if (aids.index->continuation_hash(*listed, mid) < hash) {
        at = mid + 1;
      } else {
        high = mid;
      }
    }
    if (at == listed->pair_count) break;
    if (aids.index->continuation_hash(*listed, at) != hash) continue;
    const WordCounts::Entry& pick = entries[position];
    if (pick.count == 0 || std::binary_search(processed_.begin(), processed_.end(), pick.word)) {
      continue;
    }
    const auto pair = root ? in.bigram.get(*root, pick.word) : std::nullopt;
    if (pair)
      note(pick.word, saturating_add(*pair, saturating_mul(pick.count, user_weight)), before);
  }
  return emit(before, out);
}

}  // namespace ornav
