#include "ranking_index_builder.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>

#include "fst/crc32c.h"
#include "ranking.h"
#include "ranking_index_format.h"
#include "saturating.h"
#include "utf8.h"

namespace ornav {
namespace {

namespace layout = ranking_index;

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put_u64(std::vector<std::uint8_t>& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A word kept for a list: its text is in an arena, so moving entries through heaps copies no text.
struct Candidate {
  std::uint64_t offset;  // into the arena
  std::uint32_t length;
  std::uint32_t chars;
  std::uint64_t count;
};

class Arena {
 public:
  Candidate add(std::string_view word, std::uint64_t count) {
    const Candidate c{text_.size(), static_cast<std::uint32_t>(word.size()),
                      static_cast<std::uint32_t>(utf8::count_scalars(word)), count};
    text_.append(word);
    return c;
  }
  std::string_view text(const Candidate& c) const { return {text_.data() + c.offset, c.length}; }
  void clear() { text_.clear(); }

 private:
  std::string text_;
};

// Keeps the `limit` first candidates offered under a strict order `before`; the largest count of
// those pushed out is remembered (the bound on everything not listed).
template <typename Before>
class BoundedList {
 public:
  BoundedList(std::size_t limit, Before before) : limit_(limit), before_(before) {}
  void offer(const Candidate& c) {
    if (heap_.size() < limit_) {
      heap_.push_back(c);
      std::push_heap(heap_.begin(), heap_.end(), before_);
      return;
    }
    if (!before_(c, heap_.front())) {
      dropped_max_ = std::max(dropped_max_, c.count);
      return;
    }
    dropped_max_ = std::max(dropped_max_, heap_.front().count);
    std::pop_heap(heap_.begin(), heap_.end(), before_);
    heap_.back() = c;
    std::push_heap(heap_.begin(), heap_.end(), before_);
  }
  // Best first.
  std::vector<Candidate>& sorted() {
    std::sort(heap_.begin(), heap_.end(), before_);
    return heap_;
  }
  std::vector<Candidate>& items() { return heap_; }
  std::uint64_t dropped_max() const { return dropped_max_; }
  void clear() {
    heap_.clear();
    dropped_max_ = 0;
  }

 private:
  std::size_t limit_;
  Before before_;
  std::vector<Candidate> heap_;  // max-heap under `before_`: the front is the last kept
  std::uint64_t dropped_max_ = 0;
};

// Every text of the index once, in the order first placed: records and entries refer to it.
class Pool {
 public:
  struct Text {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
  };
  Pool() : placed_(0, Hash{this}, Same{this}) {}
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;

  Text place(std::string_view text) {
    const std::uint64_t offset = text_.size();
    if (offset > UINT32_MAX || text.size() > UINT32_MAX) {
      overflow_ = true;
      return {};
    }
    text_.append(text);
    const auto [it, added] = placed_.insert(offset << 32 | text.size());
    if (!added) text_.resize(offset);  // placed before
    return {static_cast<std::uint32_t>(*it >> 32), static_cast<std::uint32_t>(*it)};
  }
  std::string_view view(Text t) const { return std::string_view(text_).substr(t.offset, t.length); }
  const std::string& bytes() const { return text_; }
  bool overflow() const { return overflow_; }

 private:
  std::string_view view(std::uint64_t key) const {
    return view(Text{static_cast<std::uint32_t>(key >> 32), static_cast<std::uint32_t>(key)});
  }
  struct Hash {
    const Pool* pool;
    std::size_t operator()(std::uint64_t key) const {
      return std::hash<std::string_view>()(pool->view(key));
    }
  };
  struct Same {
    const Pool* pool;
    bool operator()(std::uint64_t a, std::uint64_t b) const {
      return pool->view(a) == pool->view(b);
    }
  };
  std::string text_;
  std::unordered_set<std::uint64_t, Hash, Same> placed_;  // offset << 32 | length
  bool overflow_ = false;
};

struct Record {
  Pool::Text text;
  std::uint32_t first = 0;  // into the entries
  std::uint32_t size = 0;
  std::uint64_t total = 0;       // words under the prefix / pairs of the context
  std::uint64_t rest_max = 0;    // contexts only
  std::uint64_t first_hash = 0;  // contexts only
  std::uint32_t context = 0;     // context prefixes only: their context's record
};

struct Entry {
  Pool::Text word;
  std::uint64_t count;
};

struct Collected {
  std::vector<Record> records;
  std::vector<Entry> entries;
  std::vector<std::uint32_t> hashes;  // contexts only
};

template <typename List>
void emit(std::string_view text, std::uint64_t total, List& list, std::size_t limit,
          const Arena& arena, Pool& pool, Collected& out) {
  Record r{pool.place(text), static_cast<std::uint32_t>(out.entries.size()), 0, total,
           list.dropped_max()};
  const std::vector<Candidate>& sorted = list.sorted();
  for (std::size_t k = 0; k < sorted.size() && k < limit; ++k)
    out.entries.push_back({pool.place(arena.text(sorted[k])), sorted[k].count});
  r.size = static_cast<std::uint32_t>(out.entries.size() - r.first);
  out.records.push_back(std::move(r));
}

// Whether the caller asked the build to stop; looked at every few thousand keys. Once true, true.
class StopCheck {
 public:
  explicit StopCheck(const std::atomic<bool>* stop) : stop_(stop) {}
  bool operator()() {
    if (!stopped_ && stop_ && ++calls_ % 4096 == 0)
      stopped_ = stop_->load(std::memory_order_relaxed);
    return stopped_;
  }

 private:
  const std::atomic<bool>* stop_;
  std::uint64_t calls_ = 0;
  bool stopped_ = false;
};

// The ranking order of words with these counts: count descending, fewer characters first, bytes
// ascending.
struct RanksBefore {
  const Arena* arena;
  bool operator()(const Candidate& a, const Candidate& b) const {
    if (a.count != b.count) return a.count > b.count;
    if (a.chars != b.chars) return a.chars < b.chars;
    return arena->text(a) < arena->text(b);
  }
};

// How large a prefix must be to get a list, and how long its list is.
struct ListLimits {
  std::uint32_t threshold;  // more keys than this under the prefix
  std::uint32_t list_limit;
  std::uint32_t long_threshold;  // more keys than this: a list of long_limit words
  std::uint32_t long_limit;
};

// The first words of every prefix of keys that come in byte order, for the prefixes with more
// keys than the threshold. The first words of a prefix are among its own key and the first words
// of each longer prefix directly below it, so one pass with a stack of open prefixes (one per byte
// of the current key) builds every list: a prefix that closes hands its list up.
class PrefixLists {
 public:
  PrefixLists(const Arena& arena, const ListLimits& limits, Pool& pool, Collected& out)
      : limits_(limits),
        // Every frame keeps as many words as the longest list: a parent's list is made of them.
        kept_(std::max(limits.list_limit, limits.long_limit)),
        order_{&arena},
        pool_(pool),
        out_(out) {
    open_frame();  // the empty prefix
  }

  // `key` comes after the previous one in byte order. It counts toward the size of its prefixes;
  // `word` (when given) is its entry in their lists. A key that is not valid UTF-8 keeps every
  // prefix above it from having a list.
  void add(std::string_view key, const std::optional<Candidate>& word, bool valid) {
    std::size_t common = 0;
    while (common < key_.size() && common < key.size() && key_[common] == key[common])
      ++common;
    close_to(common + 1);
    key_.assign(key);
    while (depth_ < key_.size() + 1)
      open_frame();
    Frame& own = stack_[depth_ - 1];
    own.keys += 1;
    if (!valid) {
      own.valid = false;
    } else if (word) {
      own.words += 1;
      own.list.offer(*word);
    }
  }

  // Closes every prefix; then ready for other keys.
  void finish() {
    close_to(0);
    key_.clear();
    open_frame();
  }

 private:
  using List = BoundedList<RanksBefore>;
  struct Frame {
    List list;
    std::uint64_t keys = 0;
    std::uint64_t words = 0;
    bool valid = true;
  };

  void open_frame() {
    if (depth_ == stack_.size()) stack_.push_back({List(kept_, order_)});
    Frame& f = stack_[depth_++];
    f.list.clear();
    f.keys = 0;
    f.words = 0;
    f.valid = true;
  }

  void close_to(std::size_t keep) {
    while (depth_ > keep) {
      Frame& f = stack_[--depth_];
      const std::string_view prefix = std::string_view(key_).substr(0, depth_);
      if (depth_ > 0 && f.valid && f.keys > limits_.threshold && utf8::is_valid(prefix)) {
        const std::size_t limit =
            f.keys > limits_.long_threshold ? kept_ : std::size_t{limits_.list_limit};
        emit(prefix, f.words, f.list, limit, *order_.arena, pool_, out_);
      }
      if (depth_ == 0) break;
      Frame& parent = stack_[depth_ - 1];
      parent.keys += f.keys;
      parent.words += f.words;
      parent.valid = parent.valid && f.valid;
      for (const Candidate& c : f.list.items())
        parent.list.offer(c);
    }
  }

  ListLimits limits_;
  std::size_t kept_;
  RanksBefore order_;
  Pool& pool_;
  Collected& out_;
  std::vector<Frame> stack_;  // stack_[d] is the prefix of the current key's first d bytes
  std::size_t depth_ = 0;     // frames in use
  std::string key_;           // the previous key
};

// Prefix lists of the word map. Records come out sorted by their text.
Collected collect_prefixes(const fst::Map& unigram, const IndexParams& params, Pool& pool,
                           StopCheck& stop) {
  Arena arena;
  Collected out;
  PrefixLists lists(arena,
                    {params.prefix_threshold, params.prefix_list_limit, params.long_list_threshold,
                     params.long_list_limit},
                    pool, out);
  fst::PrefixStream stream = unigram.prefix_stream("");
  while (stream.next() && !stop()) {
    const std::string_view key = stream.key();
    if (!utf8::is_valid(key)) {
      lists.add(key, std::nullopt, false);
    } else {
      lists.add(key, arena.add(key, stream.value()), true);
    }
  }
  lists.finish();
  std::sort(out.records.begin(), out.records.end(), [&pool](const Record& a, const Record& b) {
    return pool.view(a.text) < pool.view(b.text);
  });
  return out;
}

struct ContextLists {
  Collected contexts;  // records in key order, which is their text's byte order
  Collected prefixes;  // records by context, then by text
};

// Context lists: the pairs of one context word are the consecutive keys that begin with it and
// the separator. Each context with a list also gets the lists of its continuations' prefixes, in
// the ranking order after it: corpus count + 100 x pair count.
ContextLists collect_contexts(const fst::Map& unigram, const fst::Map& bigram,
                              const IndexParams& params, Pool& pool, StopCheck& stop) {
  Arena arena, ranked_arena;
  const auto by_pairs = [&arena](const Candidate& a, const Candidate& b) {
    if (a.count != b.count) return a.count > b.count;
    return arena.text(a) < arena.text(b);
  };
  BoundedList list(params.context_list_limit, by_pairs);
  ContextLists out;
  PrefixLists ranked(ranked_arena,
                     {params.context_threshold, params.prefix_list_limit, UINT32_MAX, 0}, pool,
                     out.prefixes);
  std::string context;
  std::vector<Candidate> pairs;  // the context's continuations, in byte order
  std::uint64_t pair_count = 0;
  std::vector<std::uint32_t> hashes;
  bool valid = false, open = false;
  const auto finish = [&] {
    if (open && valid && pair_count > params.context_threshold) {
      emit(context, pair_count, list, params.context_list_limit, arena, pool, out.contexts);
      out.contexts.records.back().first_hash = out.contexts.hashes.size();
      std::sort(hashes.begin(), hashes.end());
      out.contexts.hashes.insert(out.contexts.hashes.end(), hashes.begin(), hashes.end());
      const std::size_t first_record = out.prefixes.records.size();
      for (const Candidate& pair : pairs) {
        if (stop()) return;
        const std::string_view word = arena.text(pair);
        std::optional<Candidate> ranked_word;
        if (const auto corpus = unigram.get(word)) {
          ranked_word = ranked_arena.add(
              word, saturating_add(*corpus, saturating_mul(pair.count, bigram_weight)));
        }
        ranked.add(word, ranked_word, true);
      }
      ranked.finish();
      for (std::size_t r = first_record; r < out.prefixes.records.size(); ++r)
        out.prefixes.records[r].context =
            static_cast<std::uint32_t>(out.contexts.records.size() - 1);
    }
    list.clear();
    arena.clear();
    ranked_arena.clear();
    pairs.clear();
    hashes.clear();
    pair_count = 0;
    open = false;
  };
  fst::PrefixStream stream = bigram.prefix_stream("");
  while (stream.next() && !stop()) {
    const std::string_view key = stream.key();
    const std::size_t separator = key.find(pair_separator);
    if (separator == std::string_view::npos) continue;
    const std::string_view first = key.substr(0, separator), word = key.substr(separator + 1);
    if (!open || first != context) {
      finish();
      context.assign(first);
      valid = utf8::is_valid(context);
      open = true;
    }
    ++pair_count;
    if (!utf8::is_valid(word)) valid = false;
    if (!valid) continue;
    pairs.push_back(arena.add(word, stream.value()));
    list.offer(pairs.back());
    hashes.push_back(layout::word_hash(word));
  }
  finish();
  std::sort(out.prefixes.records.begin(), out.prefixes.records.end(),
            [&pool](const Record& a, const Record& b) {
              if (a.context != b.context) return a.context < b.context;
              return pool.view(a.text) < pool.view(b.text);
            });
  return out;
}

// Maps up to this size stay in a processor's caches while a keystroke walks them.
constexpr std::size_t kCachedMapSize = std::size_t{4} << 20;

}  // namespace

IndexParams IndexParams::for_maps(const fst::Map& unigram, const fst::Map& bigram) {
  IndexParams params;
  if (unigram.size_in_bytes() <= kCachedMapSize) params.prefix_threshold = 512;
  if (bigram.size_in_bytes() <= kCachedMapSize) params.context_threshold = 256;
  return params;
}

std::optional<std::vector<std::uint8_t>> build_ranking_index(const fst::Map& unigram,
                                                             const fst::Map& bigram) {
  return build_ranking_index(unigram, bigram, IndexParams::for_maps(unigram, bigram));
}

std::optional<std::vector<std::uint8_t>> build_ranking_index(const fst::Map& unigram,
                                                             const fst::Map& bigram,
                                                             const IndexParams& params,
                                                             const std::atomic<bool>* stop) {
  if (!unigram.stored_checksum() || !bigram.stored_checksum() || params.prefix_list_limit == 0 ||
      params.context_list_limit == 0) {
    return std::nullopt;
  }
  StopCheck stopped(stop);
  Pool pool;
  const Collected prefixes = collect_prefixes(unigram, params, pool, stopped);
  const ContextLists contexts = collect_contexts(unigram, bigram, params, pool, stopped);
  if (stopped() || pool.overflow()) return std::nullopt;

  const Collected* const parts[] = {&prefixes, &contexts.contexts, &contexts.prefixes};
  std::uint64_t entry_count = 0;
  for (const Collected* part : parts)
    entry_count += part->entries.size();
  if (entry_count > UINT32_MAX) return std::nullopt;

  std::vector<std::uint8_t> out;
  out.reserve(layout::kHeaderSize + prefixes.records.size() * layout::kPrefixRecordSize +
              contexts.contexts.records.size() * layout::kContextRecordSize +
              entry_count * layout::kEntrySize +
              contexts.contexts.hashes.size() * layout::kHashSize +
              contexts.prefixes.records.size() * layout::kContextPrefixRecordSize);
  for (const char c : layout::kMagic)
    out.push_back(static_cast<std::uint8_t>(c));
  put_u32(out, layout::kVersion);
  put_u32(out, layout::kHeaderSize);
  for (const fst::Map* map : {&unigram, &bigram}) {
    put_u64(out, map->size_in_bytes());
    put_u64(out, map->len());
    put_u64(out, map->root_address());
    put_u32(out, *map->stored_checksum());
    put_u32(out, 0);
  }
  put_u32(out, static_cast<std::uint32_t>(prefixes.records.size()));
  put_u32(out, static_cast<std::uint32_t>(contexts.contexts.records.size()));
  put_u64(out, entry_count);
  const std::size_t pool_size_at = out.size();
  put_u64(out, 0);  // pool size, filled in below
  put_u32(out, params.prefix_threshold);
  put_u32(out, params.prefix_list_limit);
  put_u32(out, params.context_threshold);
  put_u32(out, params.context_list_limit);
  put_u64(out, contexts.contexts.hashes.size());
  put_u64(out, contexts.prefixes.records.size());

  // Entries of the three parts follow each other.
  const auto prefix_base = std::uint32_t{0};
  const auto context_base = static_cast<std::uint32_t>(prefixes.entries.size());
  const auto context_prefix_base =
      static_cast<std::uint32_t>(context_base + contexts.contexts.entries.size());
  const auto put_text = [&](Pool::Text text) {
    put_u32(out, text.offset);
    put_u32(out, text.length);
  };
  for (const Record& r : prefixes.records) {
    put_text(r.text);
    put_u32(out, prefix_base + r.first);
    put_u32(out, r.size);
    put_u64(out, r.total);
  }
  for (const Record& r : contexts.contexts.records) {
    put_text(r.text);
    put_u32(out, context_base + r.first);
    put_u32(out, r.size);
    put_u64(out, r.total);
    put_u64(out, r.rest_max);
    put_u64(out, r.first_hash);
  }
  for (const Collected* part : parts) {
    for (const Entry& e : part->entries) {
      put_text(e.word);
      put_u64(out, e.count);
    }
  }
  for (const std::uint32_t hash : contexts.contexts.hashes)
    put_u32(out, hash);
  for (const Record& r : contexts.prefixes.records) {
    put_u32(out, r.context);
    put_text(r.text);
    put_u32(out, context_prefix_base + r.first);
    put_u32(out, r.size);
    put_u32(out, static_cast<std::uint32_t>(r.total));
  }
  const std::string& text = pool.bytes();
  out.insert(out.end(), text.begin(), text.end());
  for (int i = 0; i < 8; ++i)
    out[pool_size_at + i] = static_cast<std::uint8_t>(std::uint64_t{text.size()} >> (8 * i));
  put_u32(out, fst::crc32c(out.data(), out.size()));
  return out;
}

}  // namespace ornav
