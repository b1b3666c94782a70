// Why the fast path gives exactly the plain list (prefix mode, buffer B, optional context C).
//
// The list is the first words under B in plain order (count descending, fewer characters first,
// bytes ascending): the index's list, or every key under B when there are few (then it is
// complete). It is processed from the front, each word scored exactly; `floor` is the corpus
// count of the last word processed. Every unprocessed word under B in the corpus comes after all
// processed ones in plain order, so its corpus count is at most `floor`.
//
// 1. A word is plain when its score is its corpus count. Each processed word ranks before every
//    unprocessed plain word: its score is at least its corpus count, which is at least the
//    other's; when both are equal, plain order decides, and the processed word comes first in it.
//    So once 50 words are processed, no unprocessed plain word can be in the result.
// 2. Any other unprocessed word is raised: it was picked (user table), is in the cloud table, is
//    B itself, or has a pair after C. B is scored exactly. A word scores at most
//      picks * 100000 + max(floor, cloud) + 100 * pair
//    (its corpus count being at most floor). When that bound, with the word's own length and
//    bytes, ranks after the 50th best word scored so far, 50 words rank before the word, and it is
//    dropped; otherwise it is scored exactly. Picks are visited by pick count and cloud words by
//    cloud count, highest first, so the visit ends once the bound of the next one, with the
//    largest pair count possible, is below the 50th best score.
// 3. A cloud word with a cloud count below floor scores at most floor + 100 * pair: without a
//    pair it is covered by point 1 or below every processed word, with one it is treated as a
//    pair word below.
// 4. Pairs after C under B are known one by one when C has few pairs (they are walked) and for
//    the listed continuations of a context word with many pairs; every unlisted one has a count
//    of at most `rest_max`, and the index's hashes rule most words out without a lookup.
//    Processing goes on until floor + 100 * rest_max is below the 50th best score, so that no word
//    raised by an unlisted pair can enter; when the list cannot get there, the pairs under C and B
//    are walked instead.
// A list that ends (incomplete) before 50 words are processed gives no bound: the plain ranking
// runs. All sums saturate, which keeps every bound an upper bound.
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

bool FastRanker::rank_prefix(const RankingInput& in, const RankingAids& aids,
                             std::vector<std::string>& out) {
  const std::string_view buffer = in.buffer;
  std::optional<RankingIndex::PrefixList> listed;
  if (aids.index) listed = aids.index->prefix(buffer);
  if (!listed) {
    const std::size_t limit =
        aids.index
            ? std::min<std::size_t>(
                  std::max<std::size_t>(aids.index->prefix_threshold(), kWalkLimit), kMaxWalkLimit)
            : kWalkLimit;
    if (!walk_list(in.unigram, buffer, limit)) return false;
  }
  const std::uint32_t list_size =
      listed ? listed->size : static_cast<std::uint32_t>(walked_.size());
  const bool complete = listed ? listed->complete() : true;
  // A walked list is put in plain order only as far as it is processed: its best words first
  // (most often processing stops a little past the 50th), the rest all at once when processing
  // goes on into them (after a context word whose pairs cannot be bounded, it goes to the end).
  std::size_t walked_in_order = 0;
  const auto entry = [&](std::uint32_t i) {
    if (listed) return aids.index->entry(listed->first + i);
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

  // Pairs after the context word: walked when the context has few, else from its list.
  std::optional<RankingIndex::ContextList> heavy;
  std::optional<fst::Map::Position> pair_root;
  bool pairs_known = false;
  std::uint64_t pair_max = 0;  // no pair under the buffer has a larger count
  listed_.clear();
  if (in.prev_word) {
    if (aids.index) heavy = aids.index->context(*in.prev_word);
    if (heavy) {
      ++counts_.listed_context;
      IndexEntry previous;
      for (std::uint32_t k = 0; k < heavy->size; ++k) {
        const IndexEntry e = aids.index->entry(heavy->first + k);
        if (k > 0 && !continues_before(previous, e)) return false;  // a damaged list
        if (starts_with(e.word, buffer)) listed_.push_back({e.word, e.count});
        previous = e;
      }
      pair_max = std::max(aids.index->entry(heavy->first).count, heavy->rest_max);
      std::sort(listed_.begin(), listed_.end(),
                [](const Pair& a, const Pair& b) { return a.word < b.word; });
      if (has_repeats(listed_)) return false;
      key_.assign(*in.prev_word);
      key_.push_back(pair_separator);
      pair_root = in.bigram.position(key_);
    } else {
      stream_pairs(in.bigram, *in.prev_word, buffer);
      pairs_known = true;
    }
  }
  const auto walk_pairs_now = [&] {
    stream_pairs(in.bigram, *in.prev_word, buffer);
    pairs_known = true;
  };
  const auto known_pair = [&](std::string_view word) {
    return find_word(pairs_known ? pairs_ : listed_, word);
  };
  const auto pair_count = [&](std::string_view word) -> std::uint64_t {
    if (!in.prev_word) return 0;
    if (const Pair* p = known_pair(word)) return p->count;
    if (pairs_known || !pair_root || heavy->rest_max == 0) return 0;
    if (!aids.index->may_follow(*heavy, word)) return 0;
    return in.bigram.get(*pair_root, word).value_or(0);
  };
  // The most a pair can add to a word not yet scored (point 2).
  const auto pair_bound = [&](std::string_view word) -> std::uint64_t {
    if (!in.prev_word) return 0;
    if (const Pair* p = known_pair(word)) return p->count;
    if (pairs_known || !aids.index->may_follow(*heavy, word)) return 0;
    return heavy->rest_max;
  };
  const auto score_of = [&](std::string_view word, std::uint64_t base) {
    std::uint64_t score = base;
    if (const std::uint64_t p = pair_count(word))
      score = saturating_add(score, saturating_mul(p, bigram_weight));
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
  const std::uint64_t rest_max = heavy ? heavy->rest_max : 0;
  // Point 4: every word raised by an unlisted pair scores below the 50th best.
  const auto unlisted_pairs_bounded = [&](std::uint64_t floor) {
    if (!heavy || pairs_known || rest_max == 0) return true;
    return below_all(saturating_add(floor, saturating_mul(rest_max, bigram_weight)));
  };
  // Whether processing more of the list can ever bound them: even its last count must do.
  const auto list_can_bound = [&] {
    return complete || unlisted_pairs_bounded(entry(list_size - 1).count);
  };

  // The list, from the front (point 1).
  processed_.clear();
  std::uint64_t floor = 0;
  std::uint32_t i = 0;
  IndexEntry previous;
  std::uint32_t previous_chars = 0;
  for (; i < list_size; ++i) {
    if (i == list_limit && !unlisted_pairs_bounded(floor) && !list_can_bound()) {
      ++counts_.pairs_walked_late;
      walk_pairs_now();
    }
    if (i >= list_limit && unlisted_pairs_bounded(floor)) break;
    const IndexEntry e = entry(i);
    const std::uint32_t chars = chars_of(e.word);
    if (!starts_with(e.word, buffer) ||
        (i > 0 && !before(Scored{previous.word, previous.count, previous_chars},
                          Scored{e.word, e.count, chars}))) {
      return false;  // a damaged list
    }
    previous = e;
    previous_chars = chars;
    std::uint64_t base = e.count;
    if (const auto cloud = find(in.extra_dict, e.word)) base = std::max(base, *cloud);
    add(e.word, score_of(e.word, base));
    processed_.push_back(e.word);
    floor = e.count;
  }
  if (i == list_size && !complete) {
    if (i < list_limit) return false;
    if (!unlisted_pairs_bounded(floor)) {
      ++counts_.pairs_walked_late;
      walk_pairs_now();
    }
  }
  // With the whole of a complete list processed, no corpus word under the buffer is left.
  const bool corpus_done = i == list_size && complete;
  if (corpus_done) floor = 0;
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
  if (pairs_known) {
    pair_max = 0;
    for (const Pair& pair : pairs_)
      pair_max = std::max(pair_max, pair.count);
  }
  const std::uint64_t pair_raise_max = saturating_mul(pair_max, bigram_weight);

  // The buffer itself, exactly.
  if (!was_processed(buffer)) {
    if (const auto base = base_of(buffer)) add(buffer, score_of(buffer, *base));
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
    if (below_all(
            saturating_add(raise, saturating_add(std::max(floor, cloud_max), pair_raise_max)))) {
      ++counts_.stopped_early;
      break;
    }
    const std::string_view word = pick->word;
    if (was_processed(word) || word == buffer) continue;
    const std::uint64_t cloud = find(in.extra_dict, word).value_or(0);
    const std::uint64_t bound = saturating_add(
        raise,
        saturating_add(std::max(floor, cloud), saturating_mul(pair_bound(word), bigram_weight)));
    if (beaten(bound, word)) continue;
    if (const auto base = base_of(word)) add(word, score_of(word, *base));
  }

  // Cloud words at or above the floor, highest cloud count first (point 2).
  WordCounts::Descending clouds(aids.extra_counts, {cloud_first, cloud_last}, visit_);
  while (const WordCounts::Entry* cloud = clouds.next()) {
    if (cloud->count < floor) break;  // point 3
    if (below_all(saturating_add(cloud->count, pair_raise_max))) {
      ++counts_.stopped_early;
      break;
    }
    const std::string_view word = cloud->word;
    if (was_processed(word) || word == buffer || picks_of(word) > 0) continue;
    const std::uint64_t bound =
        saturating_add(cloud->count, saturating_mul(pair_bound(word), bigram_weight));
    if (beaten(bound, word)) continue;
    add(word, score_of(word, std::max(in.unigram.get(word).value_or(0), cloud->count)));
  }

  // Words raised only by a pair, and cloud words below the floor with a pair (points 3 and 4).
  if (in.prev_word && !corpus_done) {
    for (const Pair& pair : pairs_known ? pairs_ : listed_) {
      const std::string_view word = pair.word;
      if (pair.count == 0 || was_processed(word) || word == buffer || picks_of(word) > 0) continue;
      const auto cloud = find(in.extra_dict, word);
      if (cloud && *cloud >= floor) continue;  // visited with the cloud words
      if (beaten(saturating_add(floor, saturating_mul(pair.count, bigram_weight)), word)) continue;
      if (const auto base = base_of(word)) add(word, score_of(word, *base));
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
