#include "inflection.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "utf_text.h"

namespace ornav::corpus {
namespace {

bool is_back_vowel(char32_t c) {
  return c == U'\u0627' || c == U'\u0648' || c == U'\u06C7';  // ا و ۇ
}
bool is_front_vowel(char32_t c) {
  return c == U'\u06D5' || c == U'\u06C6' || c == U'\u06C8';  // ە ۆ ۈ
}

// Context and endings packed into one string: harmony, last letter, from, a 0 separator, to.
std::u32string rule_key(Harmony h, char32_t last, std::u32string_view from,
                        std::u32string_view to = {}, bool with_to = false) {
  std::u32string key;
  key.reserve(3 + from.size() + to.size());
  key += static_cast<char32_t>(h);
  key += last;
  key += from;
  if (with_to) {
    key += U'\0';
    key += to;
  }
  return key;
}

struct Split {
  size_t first;  // shortest stem length to try
  size_t last;   // longest (the whole word: empty ending)
};

// The stem lengths a word is split at; none when the word is shorter than a stem.
bool split_range(size_t length, const InflectionOptions& o, Split& out) {
  if (length < o.min_stem) return false;
  out.first = std::max(o.min_stem, length > o.max_ending ? length - o.max_ending : 0);
  out.last = length;
  return true;
}

}  // namespace

Harmony vowel_harmony(std::u32string_view word) {
  for (auto it = word.rbegin(); it != word.rend(); ++it) {
    if (is_back_vowel(*it)) return Harmony::kBack;
    if (is_front_vowel(*it)) return Harmony::kFront;
  }
  // ق غ خ are back consonants, ك گ front ones.
  if (word.find_first_of(U"\u0642\u063A\u062E") != std::u32string_view::npos) return Harmony::kBack;
  if (word.find_first_of(U"\u0643\u06AF") != std::u32string_view::npos) return Harmony::kFront;
  return Harmony::kNeutral;
}

std::vector<EndingRule> learn_ending_rules(const std::map<std::string, uint64_t>& words,
                                           const InflectionOptions& options) {
  std::unordered_map<std::u32string, std::vector<std::u32string>> endings;
  for (const auto& entry : words) {
    const std::u32string w = utf32_from_utf8(entry.first);
    Split s;
    if (!split_range(w.size(), options, s)) continue;
    for (size_t k = s.first; k <= s.last; ++k)
      endings[w.substr(0, k)].push_back(w.substr(k));
  }

  std::unordered_map<std::u32string, uint64_t> with_from;  // stems showing an ending
  std::unordered_map<std::u32string, uint64_t> with_both;  // stems showing two endings
  for (const auto& [stem, list] : endings) {
    if (list.size() < 2 || list.size() > options.max_endings) continue;
    const Harmony h = vowel_harmony(stem);
    for (const auto& from : list) {
      ++with_from[rule_key(h, stem.back(), from)];
      for (const auto& to : list) {
        if (to != from) ++with_both[rule_key(h, stem.back(), from, to, true)];
      }
    }
  }

  std::vector<EndingRule> rules;
  for (const auto& [key, support] : with_both) {
    if (support < options.min_support) continue;
    const size_t zero = key.find(U'\0', 2);
    EndingRule r{static_cast<Harmony>(key[0]), key[1],  key.substr(2, zero - 2),
                 key.substr(zero + 1),         support, 0.0};
    r.reliability = static_cast<double>(support) /
                    static_cast<double>(with_from.at(rule_key(r.harmony, r.last, r.from)));
    rules.push_back(std::move(r));
  }
  std::sort(rules.begin(), rules.end(), [](const EndingRule& a, const EndingRule& b) {
    return std::tie(a.harmony, a.last, a.from, a.to) < std::tie(b.harmony, b.last, b.from, b.to);
  });
  return rules;
}

std::map<std::string, double> generate_forms(const std::map<std::string, uint64_t>& words,
                                             const std::vector<EndingRule>& rules,
                                             const InflectionOptions& options) {
  std::unordered_map<std::u32string, std::vector<const EndingRule*>> by_context;
  for (const auto& r : rules)
    by_context[rule_key(r.harmony, r.last, r.from)].push_back(&r);

  std::unordered_set<std::u32string> known;
  std::vector<std::pair<std::u32string, uint64_t>> decoded;
  decoded.reserve(words.size());
  for (const auto& [word, count] : words) {
    decoded.emplace_back(utf32_from_utf8(word), count);
    known.insert(decoded.back().first);
  }

  std::unordered_map<std::u32string, double> expected;
  for (const auto& [w, count] : decoded) {
    Split s;
    if (!split_range(w.size(), options, s)) continue;
    for (size_t k = s.first; k <= s.last; ++k) {
      const std::u32string_view stem = std::u32string_view(w).substr(0, k);
      auto found = by_context.find(rule_key(vowel_harmony(stem), stem.back(), w.substr(k)));
      if (found == by_context.end()) continue;
      for (const EndingRule* r : found->second) {
        std::u32string form(stem);
        form += r->to;
        if (known.count(form)) continue;
        double& e = expected[form];
        e = std::max(e, static_cast<double>(count) * r->reliability);
      }
    }
  }

  std::vector<std::pair<std::string, double>> ranked;
  ranked.reserve(expected.size());
  for (const auto& [form, e] : expected)
    ranked.emplace_back(utf8_from_utf32(form), e);
  const size_t keep = std::min(options.limit, ranked.size());
  const auto better = [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  };
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(keep),
                    ranked.end(), better);
  ranked.resize(keep);
  return {ranked.begin(), ranked.end()};
}

}  // namespace ornav::corpus
