#include "ranking_reference.h"

#include <algorithm>

#include "utf8.h"

namespace ornav::testing {
namespace {

std::uint64_t add(std::uint64_t a, std::uint64_t b) {
  return a > top - b ? top : a + b;
}
std::uint64_t mul(std::uint64_t a, std::uint64_t b) {
  return a != 0 && b > top / a ? top : a * b;
}
bool begins(const std::string& s, const std::string& prefix) {
  return s.rfind(prefix, 0) == 0;
}

}  // namespace

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

std::string StateGenerator::word(int max_letters) {
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

std::uint64_t StateGenerator::count() {
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

std::string StateGenerator::valid_word(int max_letters) {
  std::string w;
  do {
    w = word(max_letters);
  } while (!utf8::is_valid(w));
  return w;
}

}  // namespace ornav::testing
