// Feeds hostile ranking indexes to the reader and, when one opens, to the fast ranking.
//
// The first byte picks what the input is:
// - 'M': edits of a valid index for this target's dictionary (each edit three bytes: a position
//   in the index, as two bytes, and the byte to write there), after which the binding to the
//   maps and the checksum are made right again, so the edits reach the record checks and the
//   ranking's own checks of the lists;
// - high bit set: the rest is an index whose checksum is made right;
// - anything else: the rest is the index as it is.
// Whatever opens is ranked with for several buffers and contexts; every list must be at most 50
// distinct words of valid UTF-8.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "fast_ranking.h"
#include "fst/crc32c.h"
#include "ranking_index.h"
#include "ranking_index_builder.h"
#include "ranking_index_format.h"
#include "test_dict.h"
#include "utf8.h"

namespace {

using ornav::FreqTable;
using ornav::testing::KeyCounts;

void check(bool ok) {
  if (!ok) std::abort();
}

struct Fixture {
  Fixture(const KeyCounts& unigram, const KeyCounts& bigram)
      : uni(ornav::testing::build_map(unigram)), bi(ornav::testing::build_map(bigram)) {
    index = *ornav::build_ranking_index(uni, bi,
                                        {.prefix_threshold = 3,
                                         .prefix_list_limit = 55,
                                         .long_list_threshold = 100,
                                         .long_list_limit = 80,
                                         .context_threshold = 3,
                                         .context_list_limit = 55});
    user_counts.rebuild(user);
    extra_counts.rebuild(extra);
  }
  ornav::fst::Map uni, bi;
  std::vector<std::uint8_t> index;
  FreqTable user{{"ab", 3}, {"\xD8\xA7", 1}}, extra{{"abc", 40}, {"ba", 7}};
  ornav::WordCounts user_counts{true}, extra_counts;
};

const Fixture& fixture() {
  static const Fixture f = [] {
    KeyCounts unigram, bigram;
    const char* letters[] = {"a", "b", "\xD8\xA7"};
    for (int i = 1; i < 200; ++i) {
      std::string w;
      for (int k = i; k > 0; k /= 3)
        w += letters[k % 3];
      unigram[w] = std::uint64_t(i % 13);
      bigram[ornav::testing::pair_key("a", w)] = std::uint64_t(i % 5);
    }
    return Fixture(unigram, bigram);
  }();
  return f;
}

void reseal(std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < ornav::ranking_index::kHeaderSize + 4) return;
  const std::uint32_t sum = ornav::fst::crc32c(bytes.data(), bytes.size() - 4);
  std::memcpy(bytes.data() + bytes.size() - 4, &sum, 4);
}

void rank_with(const ornav::RankingIndex& index) {
  const Fixture& f = fixture();
  ornav::FastRanker ranker;
  std::vector<std::string> out;
  const std::optional<std::string> contexts[] = {std::nullopt, "a", "b", ""};
  for (const char* buffer : {"", "a", "b", "ab", "\xD8\xA7", "ba"}) {
    for (const auto& context : contexts) {
      ranker.rank({f.uni, f.bi, buffer, context, f.user, f.extra},
                  {&index, f.user_counts, f.extra_counts}, out);
      check(out.size() <= ornav::list_limit);
      check(std::set<std::string>(out.begin(), out.end()).size() == out.size());
      for (const auto& word : out)
        check(ornav::utf8::is_valid(word));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Fixture& f = fixture();
  std::vector<std::uint8_t> bytes;
  if (data[0] == 'M') {
    bytes = f.index;
    for (std::size_t at = 1; at + 3 <= size; at += 3) {
      const std::size_t position = (std::size_t(data[at]) << 8 | data[at + 1]) % bytes.size();
      bytes[position] = data[at + 2];
    }
    // The binding is copied back from the valid index, so only the edits elsewhere count.
    std::memcpy(bytes.data() + ornav::ranking_index::kUnigramBindingAt,
                f.index.data() + ornav::ranking_index::kUnigramBindingAt, 64);
    reseal(bytes);
  } else {
    bytes.assign(data + 1, data + size);
    if (data[0] & 0x80) reseal(bytes);
  }
  const auto kept = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
  if (const auto index = ornav::RankingIndex::open(*kept, kept, f.uni, f.bi)) rank_with(*index);
  return 0;
}
