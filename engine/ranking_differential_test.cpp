// The library's ranking against a plain implementation written straight from the rules
// (ordered maps, exact lookups, a stable sort of everything, then the cut), on thousands of
// randomized states. Any faster path behind rank_candidates() must keep this test green.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "ranking.h"
#include "test_dict.h"
#include "utf8.h"

namespace ornav {
namespace {

using testing::KeyCounts;
using Table = std::map<std::string, std::uint64_t>;
using Words = std::vector<std::string>;

constexpr std::uint64_t top = ~std::uint64_t{0};

std::uint64_t add(std::uint64_t a, std::uint64_t b) {
  return a > top - b ? top : a + b;
}
std::uint64_t mul(std::uint64_t a, std::uint64_t b) {
  return a != 0 && b > top / a ? top : a * b;
}
bool begins(const std::string& s, const std::string& prefix) {
  return s.rfind(prefix, 0) == 0;
}

Words reference_rank(const KeyCounts& unigram, const KeyCounts& bigram, const std::string& buffer,
                     const std::optional<std::string>& prev_word, const Table& user_freq,
                     const Table& extra_dict) {
  std::vector<std::pair<std::string, std::uint64_t>> scored;
  if (!buffer.empty()) {
    Table working;  // iterated in byte order, which the stable sort keeps for full ties
    for (const auto& [key, count] : unigram) {
      if (begins(key, buffer)) working[utf8::to_lossy(key)] = count;
    }
    for (const auto& [word, count] : extra_dict) {
      if (!begins(word, buffer)) continue;
      const auto it = working.find(word);
      if (it == working.end()) {
        working[word] = count;
      } else {
        it->second = std::max(it->second, count);
      }
    }
    for (const auto& [word, base] : working) {
      std::uint64_t score = base;
      if (prev_word) {
        const auto pair = bigram.find(*prev_word + '\x1F' + word);
        if (pair != bigram.end()) score = add(score, mul(pair->second, 100));
      }
      if (const auto pick = user_freq.find(word); pick != user_freq.end()) {
        score = add(mul(pick->second, 100000), score);
      }
      if (word == buffer) score = add(score, 1125899906842624);
      scored.emplace_back(word, score);
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) {
      if (a.second != b.second) return a.second > b.second;
      return utf8::count_scalars(a.first) < utf8::count_scalars(b.first);
    });
  } else if (prev_word) {
    const std::string prefix = *prev_word + '\x1F';
    for (const auto& [key, count] : bigram) {
      if (!begins(key, prefix)) continue;
      const std::string text = utf8::to_lossy(key);
      const std::size_t separator = text.find('\x1F');
      if (separator == std::string::npos) continue;
      const std::string word = text.substr(separator + 1);
      std::uint64_t score = count;
      if (const auto pick = user_freq.find(word); pick != user_freq.end()) {
        score = add(score, mul(pick->second, 100000));
      }
      scored.emplace_back(word, score);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
  }
  Words words;
  for (std::size_t i = 0; i < scored.size() && i < 50; ++i)
    words.push_back(scored[i].first);
  return words;
}

// Random states over a tiny alphabet, so words share prefixes and scores tie often.
class StateGenerator {
 public:
  explicit StateGenerator(std::uint32_t seed) : rng_(seed) {}

  std::string word(int max_letters) {
    // Latin, two-byte Uyghur letters, a three-byte character, and now and then a stray byte
    // (invalid UTF-8 in a map key) or the pair separator itself.
    static const char* letters[] = {"a", "b", "\xD8\xA7", "\xD9\x84", "\xE2\x80\x80", "a", "b"};
    std::string w;
    const int n = pick(1, max_letters);
    for (int i = 0; i < n; ++i) {
      const int r = pick(0, 99);
      if (r == 0) {
        w.push_back('\xFF');
      } else if (r == 1) {
        w.push_back('\xD8');  // truncated letter
      } else if (r == 2) {
        w.push_back('\x1F');
      } else {
        w.append(letters[pick(0, 6)]);
      }
    }
    return w;
  }

  std::uint64_t count() {
    switch (pick(0, 9)) {
      case 0:
        return top - std::uint64_t(pick(0, 3));
      case 1:
        return (std::uint64_t{1} << 50) - std::uint64_t(pick(0, 2));
      case 2:
        return top / 100 + std::uint64_t(pick(0, 2));
      case 3:
        return std::uint64_t(pick(0, 200000));
      default:
        return std::uint64_t(pick(0, 12));  // many ties
    }
  }

  std::string valid_word(int max_letters) {
    std::string w;
    do {
      w = word(max_letters);
    } while (!utf8::is_valid(w));
    return w;
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

 private:
  std::mt19937 rng_;
};

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
