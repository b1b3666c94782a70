// The candidate ranking written straight from the rules (ordered maps, exact lookups, a stable
// sort of everything, then the cut), and random states to compare any implementation against it.
// Used by the differential tests only.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "test_dict.h"

namespace ornav::testing {

using Table = std::map<std::string, std::uint64_t>;
using Words = std::vector<std::string>;

inline constexpr std::uint64_t top = ~std::uint64_t{0};

Words reference_rank(const KeyCounts& unigram, const KeyCounts& bigram, const std::string& buffer,
                     const std::optional<std::string>& prev_word, const Table& user_freq,
                     const Table& extra_dict);

// Random words and counts over a tiny alphabet, so words share prefixes and scores tie often.
class StateGenerator {
 public:
  explicit StateGenerator(std::uint32_t seed) : rng_(seed) {}

  // Latin, two-byte Uyghur letters, a three-byte character, and now and then a stray byte
  // (invalid UTF-8 in a map key) or the pair separator itself.
  std::string word(int max_letters);
  std::string valid_word(int max_letters);
  // Counts near the saturation limits, near the exact-match bonus, and many small ones.
  std::uint64_t count();
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

 private:
  std::mt19937 rng_;
};

}  // namespace ornav::testing
