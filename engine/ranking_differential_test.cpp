// The library's ranking against a plain implementation written straight from the rules
// (ranking_reference.h: ordered maps, exact lookups, a stable sort of everything, then the cut), on
// thousands of randomized states. The fast path is held to the same reference in
// fast_ranking_differential_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "ranking.h"
#include "ranking_reference.h"
#include "test_dict.h"
#include "utf8.h"

namespace ornav {
namespace {

using testing::KeyCounts;
using testing::reference_rank;
using testing::StateGenerator;
using testing::Table;
using testing::Words;

TEST(RankingDifferential, MatchesTheReferenceOnRandomStates) {
  RankingScratch scratch;  // one scratch for every state: leftovers must never leak
  Words got;
  std::size_t non_empty = 0, prediction = 0, full_lists = 0;
  for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
    StateGenerator gen(seed);
    KeyCounts unigram, bigram;
    Table user_freq, extra_dict;
    std::vector<std::string> pool;
    const int words = gen.pick(0, 3) == 0 ? gen.pick(100, 400) : gen.pick(0, 80);
    for (int i = 0; i < words; ++i) {
      std::string w = gen.word(5);
      unigram[w] = gen.count();
      pool.push_back(utf8::to_lossy(w));
    }
    for (int i = gen.pick(0, 20); i > 0; --i)
      pool.push_back(gen.valid_word(4));
    pool.push_back("");
    const auto from_pool = [&] { return pool[std::size_t(gen.pick(0, int(pool.size()) - 1))]; };

    std::optional<std::string> prev_word;
    if (gen.pick(0, 3) != 0) prev_word = from_pool();
    for (int i = gen.pick(0, 150); i > 0; --i) {
      const std::string first = gen.pick(0, 2) == 0 || !prev_word ? from_pool() : *prev_word;
      const std::string second = gen.pick(0, 9) == 0 ? gen.word(3) : from_pool();
      bigram[first + '\x1F' + second] = gen.count();
    }
    for (int i = gen.pick(0, 30); i > 0; --i)
      user_freq[from_pool()] = gen.count();
    for (int i = gen.pick(0, 30); i > 0; --i) {
      extra_dict[gen.pick(0, 1) ? gen.valid_word(4) : from_pool()] = gen.count();
    }
    extra_dict.erase("");  // the TSV reader never yields an empty word

    std::string buffer;
    switch (gen.pick(0, 4)) {
      case 0:
        break;  // prediction mode (or nothing)
      case 1:
        buffer = gen.valid_word(1);
        break;
      default: {
        const std::string w = from_pool();
        // A whole-character prefix of a known word, often the word itself.
        buffer = w.substr(0, w.size() - utf8::last_char_size(w) * std::size_t(gen.pick(0, 1)));
      }
    }

    const fst::Map uni = testing::build_map(unigram);
    const fst::Map bi = testing::build_map(bigram);
    const FreqTable user(user_freq.begin(), user_freq.end());
    const FreqTable extra(extra_dict.begin(), extra_dict.end());
    rank_candidates({uni, bi, buffer, prev_word, user, extra}, scratch, got);
    const Words want = reference_rank(unigram, bigram, buffer, prev_word, user_freq, extra_dict);
    ASSERT_EQ(got, want) << "seed " << seed << ", buffer '" << buffer << "', context "
                         << (prev_word ? "'" + *prev_word + "'" : "none");
    non_empty += !want.empty();
    prediction += buffer.empty() && !want.empty();
    full_lists += want.size() == 50;
  }
  // The generator must actually reach the interesting regions.
  EXPECT_GT(non_empty, 1500u);
  EXPECT_GT(prediction, 200u);
  EXPECT_GT(full_lists, 50u);
}

}  // namespace
}  // namespace ornav
