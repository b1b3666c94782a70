#include "ranking_index.h"

#include <compare>

#include "fst/crc32c.h"
#include "fst/fst_format.h"
#include "ranking_index_format.h"

namespace ornav {
namespace {

namespace layout = ranking_index;
using fst::format::load_u32;
using fst::format::load_u64;

// The record among `count` sorted records of `size` bytes from `records` that `order` (the
// record against what is wanted) finds equal, by halving; null when there is none.
template <typename Order>
const std::uint8_t* find_record(const std::uint8_t* records, std::uint64_t count, std::size_t size,
                                Order order) {
  std::uint64_t low = 0, high = count;
  while (low < high) {
    const std::uint64_t mid = low + (high - low) / 2;
    const std::uint8_t* at = records + mid * size;
    const std::strong_ordering found = order(at);
    if (found < 0) {
      low = mid + 1;
    } else if (found > 0) {
      high = mid;
    } else {
      return at;
    }
  }
  return nullptr;
}

bool binds(const std::uint8_t* at, const fst::Map& map) {
  const auto checksum = map.stored_checksum();
  return checksum && load_u64(at) == map.size_in_bytes() && load_u64(at + 8) == map.len() &&
         load_u64(at + 16) == map.root_address() && load_u32(at + 24) == *checksum &&
         load_u32(at + 28) == 0;
}

}  // namespace

const char* describe(IndexError error) {
  switch (error) {
    case IndexError::too_short:
      return "file too short to be a ranking index";
    case IndexError::bad_magic:
      return "not a ranking index";
    case IndexError::unknown_version:
      return "unknown ranking index version";
    case IndexError::bad_checksum:
      return "ranking index checksum mismatch";
    case IndexError::other_maps:
      return "ranking index built for other maps";
    case IndexError::bad_layout:
      return "ranking index sizes inconsistent with the file";
    case IndexError::bad_record:
      return "ranking index record malformed";
  }
  return "unknown ranking index error";
}

std::optional<RankingIndex> RankingIndex::open(std::span<const std::uint8_t> bytes,
                                               std::shared_ptr<const void> owner,
                                               const fst::Map& unigram, const fst::Map& bigram,
                                               IndexError* why) {
  const auto fail = [why](IndexError error) -> std::optional<RankingIndex> {
    if (why) *why = error;
    return std::nullopt;
  };
  const std::uint8_t* d = bytes.data();
  const std::uint64_t size = bytes.size();
  if (size < layout::kHeaderSize + layout::kChecksumSize) return fail(IndexError::too_short);
  if (std::string_view(reinterpret_cast<const char*>(d), layout::kMagic.size()) != layout::kMagic)
    return fail(IndexError::bad_magic);
  if (load_u32(d + layout::kVersionAt) != layout::kVersion)
    return fail(IndexError::unknown_version);
  if (fst::crc32c(d, size - layout::kChecksumSize) != load_u32(d + size - layout::kChecksumSize))
    return fail(IndexError::bad_checksum);
  if (!binds(d + layout::kUnigramBindingAt, unigram) ||
      !binds(d + layout::kBigramBindingAt, bigram))
    return fail(IndexError::other_maps);

  RankingIndex index;
  index.prefix_count_ = load_u32(d + layout::kPrefixCountAt);
  index.context_count_ = load_u32(d + layout::kContextCountAt);
  index.entry_count_ = load_u64(d + layout::kEntryCountAt);
  index.hash_count_ = load_u64(d + layout::kHashCountAt);
  index.context_prefix_count_ = load_u64(d + layout::kContextPrefixCountAt);
  const std::uint64_t pool_size = load_u64(d + layout::kPoolSizeAt);
  // Each part is checked against the file size before it is added, so nothing overflows.
  std::uint64_t expected = layout::kHeaderSize + layout::kChecksumSize;
  const auto add = [&](std::uint64_t count, std::uint64_t unit) {
    if (count > size / unit) return false;
    expected += count * unit;
    return expected <= size;
  };
  if (load_u32(d + layout::kHeaderSizeAt) != layout::kHeaderSize ||
      !add(index.prefix_count_, layout::kPrefixRecordSize) ||
      !add(index.context_count_, layout::kContextRecordSize) ||
      !add(index.entry_count_, layout::kEntrySize) || !add(index.hash_count_, layout::kHashSize) ||
      !add(index.context_prefix_count_, layout::kContextPrefixRecordSize) || !add(pool_size, 1) ||
      expected != size) {
    return fail(IndexError::bad_layout);
  }
  index.owner_ = std::move(owner);
  index.data_ = d;
  index.size_ = size;
  index.prefixes_ = d + layout::kHeaderSize;
  index.contexts_ =
      index.prefixes_ + std::uint64_t{index.prefix_count_} * layout::kPrefixRecordSize;
  index.entries_ =
      index.contexts_ + std::uint64_t{index.context_count_} * layout::kContextRecordSize;
  index.hashes_ = index.entries_ + index.entry_count_ * layout::kEntrySize;
  index.context_prefixes_ = index.hashes_ + index.hash_count_ * layout::kHashSize;
  index.pool_ =
      index.context_prefixes_ + index.context_prefix_count_ * layout::kContextPrefixRecordSize;
  index.prefix_threshold_ = load_u32(d + layout::kPrefixThresholdAt);
  index.context_threshold_ = load_u32(d + layout::kContextThresholdAt);

  // Everything a reader follows must lie inside the file. What the lists say (their order, their
  // words being under their prefix and valid UTF-8) is checked where a list is used, over the few
  // entries a keystroke reads, instead of over all of them here.
  bool bad = false;
  const auto text_at = [&](const std::uint8_t* at) {
    const std::uint64_t offset = load_u32(at), length = load_u32(at + 4);
    if (offset > pool_size || length > pool_size - offset) {
      bad = true;
      return std::string_view();
    }
    return index.text(offset, length);
  };
  const auto list_at = [&](const std::uint8_t* at, List& list) {
    list.first = load_u32(at + 8);
    list.size = load_u32(at + 12);
    if (list.size == 0 || list.first > index.entry_count_ ||
        list.size > index.entry_count_ - list.first) {
      bad = true;
    }
  };
  for (std::uint64_t i = 0; i < index.entry_count_ && !bad; ++i)
    text_at(index.entries_ + i * layout::kEntrySize);

  // Records are searched by halving, so they must be in strictly ascending order.
  std::string_view previous_text;
  for (std::uint32_t i = 0; i < index.prefix_count_ && !bad; ++i) {
    const std::uint8_t* at = index.prefixes_ + std::uint64_t{i} * layout::kPrefixRecordSize;
    const std::string_view text = text_at(at);
    PrefixList list;
    list_at(at, list);
    list.key_count = load_u64(at + 16);
    if (bad || (i > 0 && !(previous_text < text)) || list.size > list.key_count) bad = true;
    previous_text = text;
  }
  previous_text = {};
  for (std::uint32_t i = 0; i < index.context_count_ && !bad; ++i) {
    const std::uint8_t* at = index.contexts_ + std::uint64_t{i} * layout::kContextRecordSize;
    const std::string_view text = text_at(at);
    ContextList list;
    list_at(at, list);
    list.pair_count = load_u64(at + 16);
    list.rest_max = load_u64(at + 24);
    list.first_hash = load_u64(at + 32);
    if (bad || (i > 0 && !(previous_text < text)) || list.size > list.pair_count ||
        list.first_hash > index.hash_count_ ||
        list.pair_count > index.hash_count_ - list.first_hash) {
      bad = true;
      break;
    }
    // Hashes are searched by halving too. (Read in place: there may be millions.)
    const std::uint8_t* hash = index.hashes_ + list.first_hash * layout::kHashSize;
    for (std::uint64_t k = 1; k < list.pair_count && !bad; ++k, hash += layout::kHashSize)
      bad = load_u32(hash) > load_u32(hash + layout::kHashSize);
    // Pairs not listed come after the listed ones in the list's order.
    const std::uint64_t last = index.entry(list.first + list.size - 1).count;
    if (list.complete() ? list.rest_max != 0 : list.rest_max > last) bad = true;
    previous_text = text;
  }
  // Context prefixes are searched by halving over (context, text).
  std::uint32_t previous_context = 0;
  for (std::uint64_t i = 0; i < index.context_prefix_count_ && !bad; ++i) {
    const std::uint8_t* at = index.context_prefixes_ + i * layout::kContextPrefixRecordSize;
    const std::uint32_t context = load_u32(at);
    const std::string_view text = text_at(at + 4);
    // A prefix may have no list words at all: then its list is empty, and complete.
    const std::uint64_t first = load_u32(at + 12), list_size = load_u32(at + 16);
    const bool ascending = i == 0 || previous_context < context ||
                           (previous_context == context && previous_text < text);
    if (bad || context >= index.context_count_ || !ascending || first > index.entry_count_ ||
        list_size > index.entry_count_ - first || list_size > load_u32(at + 20)) {
      bad = true;
    }
    previous_context = context;
    previous_text = text;
  }
  if (bad) return fail(IndexError::bad_record);
  return index;
}

std::string_view RankingIndex::text(std::uint64_t offset, std::uint64_t length) const {
  return {reinterpret_cast<const char*>(pool_ + offset), length};
}

std::string_view RankingIndex::record_text(const std::uint8_t* at) const {
  return text(load_u32(at), load_u32(at + 4));
}

std::uint32_t RankingIndex::hash_at(std::uint64_t i) const {
  return load_u32(hashes_ + i * layout::kHashSize);
}

bool RankingIndex::may_follow(const ContextList& context, std::string_view word) const {
  const std::uint32_t wanted = layout::word_hash(word);
  std::uint64_t low = context.first_hash, high = context.first_hash + context.pair_count;
  while (low < high) {
    const std::uint64_t mid = low + (high - low) / 2;
    if (hash_at(mid) < wanted) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low < context.first_hash + context.pair_count && hash_at(low) == wanted;
}

IndexEntry RankingIndex::entry(std::uint32_t i) const {
  const std::uint8_t* at = entries_ + std::uint64_t{i} * layout::kEntrySize;
  return {text(load_u32(at), load_u32(at + 4)), load_u64(at + 8)};
}

std::optional<RankingIndex::PrefixList> RankingIndex::prefix(std::string_view wanted) const {
  const std::uint8_t* at =
      find_record(prefixes_, prefix_count_, layout::kPrefixRecordSize,
                  [&](const std::uint8_t* record) { return record_text(record) <=> wanted; });
  if (!at) return std::nullopt;
  PrefixList list;
  list.first = load_u32(at + 8);
  list.size = load_u32(at + 12);
  list.key_count = load_u64(at + 16);
  return list;
}

std::optional<RankingIndex::ContextList> RankingIndex::context(std::string_view word) const {
  const std::uint8_t* at =
      find_record(contexts_, context_count_, layout::kContextRecordSize,
                  [&](const std::uint8_t* record) { return record_text(record) <=> word; });
  if (!at) return std::nullopt;
  ContextList list;
  list.first = load_u32(at + 8);
  list.size = load_u32(at + 12);
  list.pair_count = load_u64(at + 16);
  list.rest_max = load_u64(at + 24);
  list.first_hash = load_u64(at + 32);
  list.record = static_cast<std::uint32_t>((at - contexts_) / layout::kContextRecordSize);
  return list;
}

std::optional<RankingIndex::ContextPrefixList> RankingIndex::context_prefix(
    const ContextList& context, std::string_view prefix) const {
  const auto order = [&](const std::uint8_t* record) {
    const std::uint32_t of = load_u32(record);
    return of != context.record ? of <=> context.record : record_text(record + 4) <=> prefix;
  };
  const std::uint8_t* at = find_record(context_prefixes_, context_prefix_count_,
                                       layout::kContextPrefixRecordSize, order);
  if (!at) return std::nullopt;
  ContextPrefixList list;
  list.first = load_u32(at + 12);
  list.size = load_u32(at + 16);
  list.word_count = load_u32(at + 20);
  return list;
}

}  // namespace ornav
