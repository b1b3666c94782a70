#include "evaluate.h"

#include <optional>
#include <unordered_map>

#include "base/text.h"
#include "dictionary.h"
#include "tokenize.h"
#include "utf_text.h"

namespace ornav::corpus {
namespace {

constexpr uint64_t kBigramWeight = 100;
constexpr uint64_t kUserWeight = 100000;
constexpr uint64_t kExactBonus = 1ull << 50;

uint64_t sat_add(uint64_t a, uint64_t b) {
  return a + b < a ? UINT64_MAX : a + b;
}
uint64_t sat_mul(uint64_t a, uint64_t b) {
  return (a != 0 && b > UINT64_MAX / a) ? UINT64_MAX : a * b;
}

struct Scored {
  uint64_t score;
  size_t length;
  const std::string* word;
};

// True when a ranks before b.
bool before(const Scored& a, const Scored& b) {
  if (a.score != b.score) return a.score > b.score;
  if (a.length != b.length) return a.length < b.length;
  return *a.word < *b.word;
}

// Number of words that begin with `prefix` and rank before the target; nullopt when the target
// is not among them.
template <typename Score>
std::optional<size_t> prefix_rank(const std::map<std::string, uint64_t>& words,
                                  const std::string& prefix, const std::string& target,
                                  Score score) {
  auto target_it = words.find(target);
  if (target_it == words.end()) return std::nullopt;
  Scored t{score(target_it->first, target_it->second), codePointCount(target), &target_it->first};
  size_t rank = 0;
  for (auto it = words.lower_bound(prefix);
       it != words.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    if (&it->first == t.word) continue;
    Scored s{score(it->first, it->second), codePointCount(it->first), &it->first};
    if (before(s, t)) ++rank;
  }
  return rank;
}

}  // namespace

EvaluationResult evaluate(const std::map<std::string, uint64_t>& words,
                          const std::map<PairKey, uint64_t>& pairs,
                          const std::vector<std::string>& lines, const EvaluationOptions& options) {
  EvaluationResult result;
  std::unordered_map<std::string, uint64_t> picks;
  auto user = [&](const std::string& w) -> uint64_t {
    if (!options.learning) return 0;
    auto it = picks.find(w);
    return it == picks.end() ? 0 : it->second;
  };

  for (const std::string& line : lines) {
    for (const auto& run : tokenize(line).runs) {
      const std::string* prev = nullptr;
      for (const std::string& word : run) {
        size_t length = codePointCount(word);
        bool scored = options.unscored.count(word) == 0;
        bool known = words.count(word) > 0;
        if (scored) {
          ++result.words;
          result.keys_without += length + 1;
          if (!known) ++result.unknown_words;
        }

        // Continuations of the previous word, for both modes.
        std::unordered_map<std::string, uint64_t> after;
        if (prev) {
          for (auto it = pairs.lower_bound({*prev, std::string()});
               it != pairs.end() && it->first.first == *prev; ++it) {
            after[it->first.second] = it->second;
          }
        }
        uint64_t cost = length + 1;
        bool taken = false;
        if (prev && after.count(word)) {
          Scored t{sat_add(after[word], sat_mul(user(word), kUserWeight)), 0, &word};
          size_t rank = 0;
          for (const auto& [next, count] : after) {
            if (next == word) continue;
            Scored s{sat_add(count, sat_mul(user(next), kUserWeight)), 0, &next};
            if (s.score > t.score || (s.score == t.score && next < word)) ++rank;
          }
          if (rank < options.row) {
            cost = 1;
            taken = true;
            if (scored) ++result.predicted_words;
          }
        }
        if (!taken && known) {
          // Walk the word's prefixes one letter (one UTF-8 sequence) at a time.
          size_t typed = 0;
          for (size_t end = 1; end <= word.size(); ++end) {
            if (end < word.size() && (static_cast<unsigned char>(word[end]) & 0xC0) == 0x80) {
              continue;
            }
            ++typed;
            std::string prefix = word.substr(0, end);
            auto score = [&](const std::string& w, uint64_t base) {
              uint64_t s = base;
              if (prev) {
                auto p = after.find(w);
                if (p != after.end()) s = sat_add(s, sat_mul(p->second, kBigramWeight));
              }
              s = sat_add(sat_mul(user(w), kUserWeight), s);
              if (w == prefix) s = sat_add(s, kExactBonus);
              return s;
            };
            auto rank = prefix_rank(words, prefix, word, score);
            if (rank && *rank < options.row) {
              cost = typed + 1;
              if (scored && typed < length) ++result.completed_words;
              break;
            }
          }
        }
        if (scored) result.keys_with += cost;
        if (options.learning && known) ++picks[word];
        prev = &word;
      }
    }
  }
  return result;
}

}  // namespace ornav::corpus
