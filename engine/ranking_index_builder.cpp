#include "ranking_index_builder.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

#include "fst/crc32c.h"
#include "ranking_index_format.h"
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

struct Record {
  std::string text;
  std::uint32_t first = 0;  // into the entries
  std::uint32_t size = 0;
  std::uint64_t total = 0;       // keys under the prefix / pairs of the context
  std::uint64_t rest_max = 0;    // contexts only
  std::uint64_t first_hash = 0;  // contexts only
};

struct Entry {
  std::string word;
  std::uint64_t count;
};

struct Collected {
  std::vector<Record> records;
  std::vector<Entry> entries;
  std::vector<std::uint32_t> hashes;  // contexts only
};

template <typename List>
void emit(std::string_view text, std::uint64_t total, List& list, std::size_t limit,
          const Arena& arena, Collected& out) {
  Record r{std::string(text), static_cast<std::uint32_t>(out.entries.size()), 0, total,
           list.dropped_max()};
  const std::vector<Candidate>& sorted = list.sorted();
  for (std::size_t k = 0; k < sorted.size() && k < limit; ++k)
    out.entries.push_back({std::string(arena.text(sorted[k])), sorted[k].count});
  r.size = static_cast<std::uint32_t>(out.entries.size() - r.first);
  out.records.push_back(std::move(r));
}

// Prefix lists. The first words of a prefix are among its own key and the first words of each
// longer prefix directly below it, so one pass in key order with a stack of open prefixes (one
// per byte of the current key) builds every list: a prefix that closes hands its list up.
Collected collect_prefixes(const fst::Map& unigram, const IndexParams& params) {
  const auto before = [](const Candidate& a, const Candidate& b) {
    if (a.count != b.count) return a.count > b.count;
    if (a.chars != b.chars) return a.chars < b.chars;
    return false;  // equal counts and lengths: decided by the bytes, below
  };
  Arena arena;
  // Byte comparison needs the arena, so the order is completed here.
  const auto order = [&arena, before](const Candidate& a, const Candidate& b) {
    if (before(a, b)) return true;
    if (before(b, a)) return false;
    return arena.text(a) < arena.text(b);
  };
  using List = BoundedList<decltype(order)>;
  struct Frame {
    List list;
    std::uint64_t keys = 0;
    bool valid = true;
  };
  std::vector<Frame> stack;  // stack[d] is the prefix of the current key's first d bytes
  std::size_t depth = 0;     // frames in use
  // Every frame keeps as many words as the longest list: a parent's list is made of them.
  const std::size_t kept = std::max(params.prefix_list_limit, params.long_list_limit);
  const auto open_frame = [&] {
    if (depth == stack.size()) stack.push_back({List(kept, order), 0, true});
    Frame& f = stack[depth++];
    f.list.clear();
    f.keys = 0;
    f.valid = true;
  };
  Collected out;
  std::string key;  // the previous key
  const auto close_to = [&](std::size_t keep) {
    while (depth > keep) {
      Frame& f = stack[--depth];
      const std::string_view prefix = std::string_view(key).substr(0, depth);
      if (depth > 0 && f.valid && f.keys > params.prefix_threshold && utf8::is_valid(prefix)) {
        const std::size_t limit = f.keys > params.long_list_threshold
                                      ? std::max(params.prefix_list_limit, params.long_list_limit)
                                      : params.prefix_list_limit;
        emit(prefix, f.keys, f.list, limit, arena, out);
      }
      if (depth == 0) break;
      Frame& parent = stack[depth - 1];
      parent.keys += f.keys;
      parent.valid = parent.valid && f.valid;
      for (const Candidate& c : f.list.items())
        parent.list.offer(c);
    }
  };

  open_frame();  // the empty prefix
  fst::PrefixStream stream = unigram.prefix_stream("");
  while (stream.next()) {
    const std::string_view next = stream.key();
    std::size_t common = 0;
    while (common < key.size() && common < next.size() && key[common] == next[common])
      ++common;
    close_to(common + 1);
    key.assign(next);
    while (depth < key.size() + 1)
      open_frame();
    Frame& own = stack[depth - 1];
    own.keys += 1;
    if (!utf8::is_valid(key)) {
      own.valid = false;
    } else {
      own.list.offer(arena.add(key, stream.value()));
    }
  }
  close_to(0);
  std::sort(out.records.begin(), out.records.end(),
            [](const Record& a, const Record& b) { return a.text < b.text; });
  return out;
}

// Context lists: the pairs of one context word are the consecutive keys that begin with it and
// the separator.
Collected collect_contexts(const fst::Map& bigram, const IndexParams& params) {
  Arena arena;
  const auto order = [&arena](const Candidate& a, const Candidate& b) {
    if (a.count != b.count) return a.count > b.count;
    return arena.text(a) < arena.text(b);
  };
  BoundedList list(params.context_list_limit, order);
  Collected out;
  std::string context;
  std::uint64_t pairs = 0;
  std::vector<std::uint32_t> hashes;
  bool valid = false, open = false;
  const auto finish = [&] {
    if (open && valid && pairs > params.context_threshold) {
      emit(context, pairs, list, params.context_list_limit, arena, out);
      out.records.back().first_hash = out.hashes.size();
      std::sort(hashes.begin(), hashes.end());
      out.hashes.insert(out.hashes.end(), hashes.begin(), hashes.end());
    }
    list.clear();
    arena.clear();
    hashes.clear();
    pairs = 0;
    open = false;
  };
  fst::PrefixStream stream = bigram.prefix_stream("");
  while (stream.next()) {
    const std::string_view key = stream.key();
    const std::size_t separator = key.find('\x1F');
    if (separator == std::string_view::npos) continue;
    const std::string_view first = key.substr(0, separator), word = key.substr(separator + 1);
    if (!open || first != context) {
      finish();
      context.assign(first);
      valid = utf8::is_valid(context);
      open = true;
    }
    ++pairs;
    if (!utf8::is_valid(word)) valid = false;
    if (!valid) continue;
    list.offer(arena.add(word, stream.value()));
    hashes.push_back(layout::word_hash(word));
  }
  finish();
  return out;  // contexts come in key order, which is their text's byte order
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
                                                             const IndexParams& params) {
  if (!unigram.stored_checksum() || !bigram.stored_checksum() || params.prefix_list_limit == 0 ||
      params.context_list_limit == 0) {
    return std::nullopt;
  }
  const Collected prefixes = collect_prefixes(unigram, params);
  const Collected contexts = collect_contexts(bigram, params);

  // One copy of each text in the pool.
  std::string pool;
  std::unordered_map<std::string_view, std::uint32_t> placed;  // views into the records and entries
  const auto place = [&](std::string_view text) {
    const auto [it, added] = placed.emplace(text, static_cast<std::uint32_t>(pool.size()));
    if (added) pool.append(text);
    return it->second;
  };
  const std::uint64_t entry_count = prefixes.entries.size() + contexts.entries.size();
  if (entry_count > UINT32_MAX) return std::nullopt;

  std::vector<std::uint8_t> out;
  out.reserve(layout::kHeaderSize + prefixes.records.size() * layout::kPrefixRecordSize +
              contexts.records.size() * layout::kContextRecordSize +
              entry_count * layout::kEntrySize);
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
  put_u32(out, static_cast<std::uint32_t>(contexts.records.size()));
  put_u64(out, entry_count);
  const std::size_t pool_size_at = out.size();
  put_u64(out, 0);  // pool size, filled in below
  put_u32(out, params.prefix_threshold);
  put_u32(out, params.prefix_list_limit);
  put_u32(out, params.context_threshold);
  put_u32(out, params.context_list_limit);
  put_u64(out, contexts.hashes.size());

  const auto put_record = [&](const Record& r, std::uint32_t entry_base, bool context) {
    const std::uint32_t text = place(r.text);
    put_u32(out, text);
    put_u32(out, static_cast<std::uint32_t>(r.text.size()));
    put_u32(out, entry_base + r.first);
    put_u32(out, r.size);
    put_u64(out, r.total);
    if (context) {
      put_u64(out, r.rest_max);
      put_u64(out, r.first_hash);
    }
  };
  for (const Record& r : prefixes.records)
    put_record(r, 0, false);
  const auto context_base = static_cast<std::uint32_t>(prefixes.entries.size());
  for (const Record& r : contexts.records)
    put_record(r, context_base, true);
  for (const Collected* c : {&prefixes, &contexts}) {
    for (const Entry& e : c->entries) {
      put_u32(out, place(e.word));
      put_u32(out, static_cast<std::uint32_t>(e.word.size()));
      put_u64(out, e.count);
    }
  }
  for (const std::uint32_t hash : contexts.hashes)
    put_u32(out, hash);
  if (pool.size() > UINT32_MAX) return std::nullopt;
  for (const char c : pool)
    out.push_back(static_cast<std::uint8_t>(c));
  for (int i = 0; i < 8; ++i)
    out[pool_size_at + i] = static_cast<std::uint8_t>(std::uint64_t{pool.size()} >> (8 * i));
  put_u32(out, fst::crc32c(out.data(), out.size()));
  return out;
}

}  // namespace ornav
