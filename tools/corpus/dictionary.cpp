#include "dictionary.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/text.h"
#include "normalize.h"
#include "tokenize.h"
#include "utf_text.h"

namespace ornav::corpus {
namespace {

std::vector<std::string_view> split_fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t pos = 0;
  while (true) {
    size_t tab = line.find('\t', pos);
    fields.push_back(line.substr(pos, tab == std::string_view::npos ? tab : tab - pos));
    if (tab == std::string_view::npos) break;
    pos = tab + 1;
  }
  return fields;
}

std::optional<uint64_t> parse_count(std::string_view s) {
  uint64_t v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || ptr != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

template <typename OnLine>
void for_each_line(std::string_view text, OnLine on_line) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    std::string_view line = text.substr(pos, eol == std::string_view::npos ? eol : eol - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    on_line(line);
    if (eol == std::string_view::npos) break;
    pos = eol + 1;
  }
}

uint64_t saturating_multiply(uint64_t a, uint64_t b) {
  return (a != 0 && b > UINT64_MAX / a) ? UINT64_MAX : a * b;
}

}  // namespace

uint64_t unattested_value(double expected, uint64_t word_scale, double weight) {
  const double ceiling = word_scale > 1 ? static_cast<double>(word_scale - 1) : 1.0;
  const double v = std::round(expected * static_cast<double>(word_scale) * weight);
  if (!(v >= 1.0)) return 1;  // also NaN
  return static_cast<uint64_t>(std::min(v, ceiling));
}

std::set<std::string> default_suffix_words() {
  return {
      "نى",   "نىڭ",  "غا",    "قا",    "گە",   "كە",   "دا",   "تا",
      "دە",   "تە",   "دىن",   "تىن",   "لار",  "لەر",  "دىكى", "تىكى",
      "نىمۇ", "دىمۇ", "دىنمۇ", "نىڭمۇ", "غىچە", "گىچە", "قىچە", "كىچە",
  };
}

Dictionary build_dictionary(const std::map<std::string, uint64_t>& words,
                            const std::map<PairKey, uint64_t>& pairs,
                            const DictionaryOptions& options) {
  Dictionary dict;
  dict.stats.words_before = words.size();
  dict.stats.pairs_before = pairs.size();
  auto is_suffix = [&](const std::string& w) { return options.suffix_words.count(w) > 0; };
  auto dropped = [&](const std::string& w) {
    if (options.drop_single_letters && codePointCount(w) == 1) return true;
    return options.suffixes == SuffixPolicy::kDrop && is_suffix(w);
  };

  for (const auto& [word, count] : words) {
    if (options.drop_single_letters && codePointCount(word) == 1) {
      ++dict.stats.single_letters_dropped;
      continue;
    }
    if (is_suffix(word) && options.suffixes != SuffixPolicy::kKeep) {
      ++dict.stats.suffixes_changed;
      if (options.suffixes == SuffixPolicy::kDrop) continue;
      dict.words.emplace(word, 1);
      continue;
    }
    dict.words.emplace(word, saturating_multiply(count, options.word_scale));
  }
  for (const auto& [pair, count] : pairs) {
    if (count < options.min_pair_count) continue;
    if (dropped(pair.first) || dropped(pair.second)) continue;
    if (options.suffixes == SuffixPolicy::kDemote &&
        (is_suffix(pair.first) || is_suffix(pair.second))) {
      continue;
    }
    dict.pairs.emplace(pair, saturating_multiply(count, options.pair_scale));
  }
  for (const auto& [form, expected] : options.generated) {
    if (dropped(form) || is_suffix(form)) continue;
    const uint64_t value = unattested_value(expected, options.word_scale, options.generated_weight);
    if (dict.words.emplace(form, value).second) ++dict.stats.generated_added;
  }
  for (const auto& word : options.word_list) {
    if (dropped(word) || is_suffix(word)) continue;
    if (dict.words.emplace(word, options.word_list_count).second) ++dict.stats.word_list_added;
  }
  return dict;
}

std::string unigram_tsv(const Dictionary& dict) {
  // std::map<std::string> already iterates in byte order.
  std::string out;
  for (const auto& [word, count] : dict.words) {
    out += word;
    out += '\t';
    out += std::to_string(count);
    out += '\n';
  }
  return out;
}

std::string bigram_tsv(const Dictionary& dict) {
  struct Row {
    std::string key;
    const PairKey* pair;
    uint64_t count;
  };
  std::vector<Row> rows;
  rows.reserve(dict.pairs.size());
  for (const auto& [pair, count] : dict.pairs) {
    rows.push_back({pair.first + '\x1f' + pair.second, &pair, count});
  }
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.key < b.key; });
  std::string out;
  for (const Row& row : rows) {
    out += row.pair->first;
    out += '\t';
    out += row.pair->second;
    out += '\t';
    out += std::to_string(row.count);
    out += '\n';
  }
  return out;
}

std::vector<std::string> read_word_list(std::string_view text) {
  std::vector<std::string> out;
  for_each_line(text, [&](std::string_view line) {
    TokenizedText t = tokenize(normalize_plain(line));
    if (t.rejected == 0 && t.runs.size() == 1 && t.runs[0].size() == 1) {
      out.push_back(std::move(t.runs[0][0]));
    }
  });
  return out;
}

std::map<std::string, uint64_t> parse_unigram_tsv(std::string_view text) {
  std::map<std::string, uint64_t> out;
  for_each_line(text, [&](std::string_view line) {
    auto f = split_fields(line);
    if (f.size() != 2 || f[0].empty()) return;
    if (auto count = parse_count(f[1])) out[std::string(f[0])] = *count;
  });
  return out;
}

std::map<PairKey, uint64_t> parse_bigram_tsv(std::string_view text) {
  std::map<PairKey, uint64_t> out;
  for_each_line(text, [&](std::string_view line) {
    auto f = split_fields(line);
    if (f.size() != 3 || f[0].empty() || f[1].empty()) return;
    if (auto count = parse_count(f[2])) out[{std::string(f[0]), std::string(f[1])}] = *count;
  });
  return out;
}

}  // namespace ornav::corpus
