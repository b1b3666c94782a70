// ornav-corpus: builds the dictionary counts from unpacked Debian packages and measures them.
//
//   ornav-corpus build --root DIR --out DIR --heldout FILE [options]
//   ornav-corpus evaluate --dict DIR --text FILE [--no-learning] [--row N]
//
// Run by scripts/corpus/refresh; see docs/dictionary.md.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "corpus_counter.h"
#include "dictionary.h"
#include "evaluate.h"
#include "inflection.h"
#include "output_file.h"
#include "source_walker.h"
#include "sources_report.h"
#include "utf_text.h"

namespace fs = std::filesystem;
using namespace ornav::corpus;

namespace {

// Reserved for judging predictions: its text must never reach the counts.
const std::set<std::string> kReservedPackages = {"libreoffice-l10n-ug"};

constexpr const char* kUsage =
    "usage:\n"
    "  ornav-corpus build --root DIR --out DIR --heldout FILE [--dev FILE] [--manifest FILE]\n"
    "      [--min-pair-count N] [--keep-single-letters] [--suffixes keep|demote|drop]\n"
    "      [--word-scale N] [--pair-scale N] [--generate N]\n"
    "      [--word-list FILE --word-list-count N] [--heldout-every N] [--top N]\n"
    "  ornav-corpus evaluate --dict DIR --text FILE [--no-learning] [--row N]\n"
    "      [--unscored-suffixes]\n";

std::optional<std::string> read_text(const fs::path& path) {
  return ornav::readWholeFile(path);
}

std::optional<uint64_t> parse_number(const std::string& s) {
  if (s.empty() || s.size() > 19 || !std::all_of(s.begin(), s.end(), ::isdigit)) {
    return std::nullopt;
  }
  return std::stoull(s);
}

struct Args {
  std::vector<std::string> items;
  size_t i = 0;
  std::optional<std::string> value(const std::string& flag) {
    if (i + 1 >= items.size()) {
      std::cerr << "ornav-corpus: " << flag << " needs a value\n";
      return std::nullopt;
    }
    return items[++i];
  }
};

int build(Args args) {
  std::optional<fs::path> root, out, heldout, manifest, word_list, development;
  // The shipped shaping, fitted on the development split (docs/dictionary.md).
  DictionaryOptions options;
  options.suffix_words = default_suffix_words();
  options.min_pair_count = 1;
  options.word_scale = 30000;
  options.pair_scale = 3000000;
  InflectionOptions inflection;
  inflection.limit = 150000;  // the most the 4 MB budget of the two maps leaves room for
  uint32_t heldout_every = 20;
  size_t top = 0;
  std::vector<std::string> given;
  for (args.i = 0; args.i < args.items.size(); ++args.i) {
    const std::string flag = args.items[args.i];
    std::optional<std::string> v;
    auto need = [&]() {
      v = args.value(flag);
      return v.has_value();
    };
    auto need_number = [&](uint64_t& target) {
      if (!need()) return false;
      auto n = parse_number(*v);
      if (!n) {
        std::cerr << "ornav-corpus: " << flag << " needs a number, not \"" << *v << "\"\n";
        return false;
      }
      target = *n;
      given.push_back(flag + " " + *v);
      return true;
    };
    if (flag == "--root") {
      if (!need()) return 2;
      root = *v;
    } else if (flag == "--out") {
      if (!need()) return 2;
      out = *v;
    } else if (flag == "--heldout") {
      if (!need()) return 2;
      heldout = *v;
    } else if (flag == "--dev") {
      if (!need()) return 2;
      development = *v;
      given.push_back("--dev");
    } else if (flag == "--manifest") {
      if (!need()) return 2;
      manifest = *v;
    } else if (flag == "--word-list") {
      if (!need()) return 2;
      word_list = *v;
    } else if (flag == "--min-pair-count") {
      if (!need_number(options.min_pair_count)) return 2;
    } else if (flag == "--word-scale") {
      if (!need_number(options.word_scale)) return 2;
    } else if (flag == "--pair-scale") {
      if (!need_number(options.pair_scale)) return 2;
    } else if (flag == "--generate") {
      uint64_t n = 0;
      if (!need_number(n)) return 2;
      inflection.limit = n;
    } else if (flag == "--word-list-count") {
      if (!need_number(options.word_list_count)) return 2;
      if (options.word_list_count == 0) {
        std::cerr << "ornav-corpus: --word-list-count must be at least 1\n";
        return 2;
      }
    } else if (flag == "--heldout-every") {
      uint64_t n = 0;
      if (!need_number(n) || n > UINT32_MAX) return 2;
      heldout_every = static_cast<uint32_t>(n);
    } else if (flag == "--top") {
      uint64_t n = 0;
      if (!need_number(n)) return 2;
      given.pop_back();  // a display option, not a build option
      top = n;
    } else if (flag == "--keep-single-letters") {
      options.drop_single_letters = false;
      given.push_back(flag);
    } else if (flag == "--suffixes") {
      if (!need()) return 2;
      if (*v == "keep") {
        options.suffixes = SuffixPolicy::kKeep;
      } else if (*v == "demote") {
        options.suffixes = SuffixPolicy::kDemote;
      } else if (*v == "drop") {
        options.suffixes = SuffixPolicy::kDrop;
      } else {
        std::cerr << "ornav-corpus: --suffixes takes keep, demote or drop\n";
        return 2;
      }
      given.push_back(flag + " " + *v);
    } else {
      std::cerr << "ornav-corpus: unknown option " << flag << "\n" << kUsage;
      return 2;
    }
  }
  if (!root || !out || !heldout) {
    std::cerr << kUsage;
    return 2;
  }
  std::error_code ec;
  if (!fs::is_directory(*root, ec)) {
    std::cerr << "ornav-corpus: " << root->string() << " is not a folder\n";
    return 1;
  }
  std::map<std::string, PackageInfo> known;
  if (manifest) {
    auto text = read_text(*manifest);
    if (!text) {
      std::cerr << "ornav-corpus: cannot read " << manifest->string() << "\n";
      return 1;
    }
    known = parse_manifest(*text);
  }
  if (word_list) {
    auto text = read_text(*word_list);
    if (!text) {
      std::cerr << "ornav-corpus: cannot read " << word_list->string() << "\n";
      return 1;
    }
    options.word_list = read_word_list(*text);
    given.push_back("--word-list " + word_list->filename().string());
  }

  std::vector<fs::path> packages;
  for (const auto& entry : fs::directory_iterator(*root, ec)) {
    if (entry.is_directory() && !entry.is_symlink()) packages.push_back(entry.path());
  }
  std::sort(packages.begin(), packages.end());

  CorpusCounter counter(heldout_every, development.has_value());
  ReportInput report;
  for (const fs::path& package : packages) {
    std::string name = package.filename().string();
    if (kReservedPackages.count(name)) {
      std::cerr << "ornav-corpus: skipping " << name << " (reserved for evaluation)\n";
      continue;
    }
    WalkStats stats = walk_package(
        package, "ug", [&](std::string_view text, SourceKind) { counter.add(text, name); });
    for (const auto& [kind, n] : stats.files)
      report.files_by_kind[kind] += n;
    for (const auto& [kind, n] : stats.strings)
      report.strings_by_kind[kind] += n;
    if (stats.unreadable > 0) {
      std::cerr << "ornav-corpus: " << name << ": " << stats.unreadable
                << " file(s) could not be read or parsed\n";
    }
    auto info = known.find(name);
    report.packages[name] = info == known.end() ? PackageInfo{} : info->second;
  }

  if (options.word_scale == 0 || options.pair_scale == 0) {
    std::cerr << "ornav-corpus: --word-scale and --pair-scale must be at least 1\n";
    return 2;
  }
  if (inflection.limit > 0) {
    // Rules and forms come from the words that ship as words: no single letters, no suffixes.
    std::map<std::string, uint64_t> stems;
    for (const auto& [word, count] : counter.words()) {
      if (ornav::codePointCount(word) > 1 && !options.suffix_words.count(word))
        stems.emplace(word, count);
    }
    const auto rules = learn_ending_rules(stems, inflection);
    options.generated = generate_forms(stems, rules, inflection);
    std::cout << "ending rules " << rules.size() << ", forms generated " << options.generated.size()
              << "\n";
  }
  Dictionary dict = build_dictionary(counter.words(), counter.pairs(), options);
  std::string unigrams = unigram_tsv(dict);
  std::string bigrams = bigram_tsv(dict);
  std::string held;
  for (const auto& line : counter.held_out())
    held += line + "\n";
  std::string dev;
  for (const auto& line : counter.development())
    dev += line + "\n";

  std::string why;
  std::error_code mk;
  fs::create_directories(*out, mk);
  if (!heldout->parent_path().empty()) fs::create_directories(heldout->parent_path(), mk);
  if (!write_text(*out / "unigram.tsv", unigrams, &why) ||
      !write_text(*out / "bigram.tsv", bigrams, &why) || !write_text(*heldout, held, &why) ||
      (development && !write_text(*development, dev, &why))) {
    std::cerr << "ornav-corpus: cannot write the results: " << why << "\n";
    return 1;
  }
  report.counter = &counter;
  report.dictionary = &dict;
  report.options = given;
  report.unigram_bytes = unigrams.size();
  report.bigram_bytes = bigrams.size();
  report.word_list_entries = options.word_list.size();
  report.word_list_source = word_list ? word_list->filename().string() : "";
  if (manifest && !write_text(*out / "SOURCES.md", sources_markdown(report), &why)) {
    std::cerr << "ornav-corpus: cannot write SOURCES.md: " << why << "\n";
    return 1;
  }

  const CounterTotals& t = counter.totals();
  uint64_t pairs_twice = 0;
  for (const auto& [pair, count] : counter.pairs())
    pairs_twice += count >= 2;
  std::cout << "packages " << report.packages.size() << "\n"
            << "strings with words " << t.strings_seen << ", distinct " << t.distinct_strings
            << ", held out " << t.held_out_strings << " (" << t.held_out_tokens << " words)"
            << ", development " << t.development_strings << " (" << t.development_tokens
            << " words)\n"
            << "tokens " << t.tokens << ", rejected runs " << t.rejected << " (bare vowel "
            << t.rejected_bare_vowel << ", hamza " << t.rejected_hamza << ", foreign letter "
            << t.rejected_foreign << ")\n"
            << "distinct words " << counter.words().size() << ", pairs " << counter.pairs().size()
            << " (seen twice or more " << pairs_twice << ")\n"
            << "shipped words " << dict.words.size() << " (" << unigrams.size() << " bytes), pairs "
            << dict.pairs.size() << " (" << bigrams.size() << " bytes)\n"
            << "single letters dropped " << dict.stats.single_letters_dropped
            << ", suffixes changed " << dict.stats.suffixes_changed << ", word list added "
            << dict.stats.word_list_added << ", generated forms added "
            << dict.stats.generated_added << "\n";
  if (top > 0) {
    std::vector<std::pair<uint64_t, std::string>> ranked;
    for (const auto& [word, count] : counter.words())
      ranked.emplace_back(count, word);
    std::sort(ranked.rbegin(), ranked.rend());
    std::cout << "most frequent words (count, share opening a run):\n";
    for (size_t k = 0; k < std::min(top, ranked.size()); ++k) {
      auto starts = counter.run_starts().find(ranked[k].second);
      uint64_t s = starts == counter.run_starts().end() ? 0 : starts->second;
      std::printf("  %s\t%llu\t%.2f\n", ranked[k].second.c_str(),
                  static_cast<unsigned long long>(ranked[k].first),
                  static_cast<double>(s) / static_cast<double>(ranked[k].first));
    }
  }
  return 0;
}

int evaluate_command(Args args) {
  std::optional<fs::path> dict_dir, text_path;
  EvaluationOptions options;
  for (args.i = 0; args.i < args.items.size(); ++args.i) {
    const std::string flag = args.items[args.i];
    if (flag == "--dict" || flag == "--text" || flag == "--row") {
      auto v = args.value(flag);
      if (!v) return 2;
      if (flag == "--dict") dict_dir = *v;
      if (flag == "--text") text_path = *v;
      if (flag == "--row") {
        auto n = parse_number(*v);
        if (!n || *n == 0) {
          std::cerr << "ornav-corpus: --row needs a positive number\n";
          return 2;
        }
        options.row = *n;
      }
    } else if (flag == "--unscored-suffixes") {
      options.unscored = default_suffix_words();
    } else if (flag == "--no-learning") {
      options.learning = false;
    } else {
      std::cerr << "ornav-corpus: unknown option " << flag << "\n" << kUsage;
      return 2;
    }
  }
  if (!dict_dir || !text_path) {
    std::cerr << kUsage;
    return 2;
  }
  auto unigrams = read_text(*dict_dir / "unigram.tsv");
  auto bigrams = read_text(*dict_dir / "bigram.tsv");
  auto text = read_text(*text_path);
  if (!unigrams || !bigrams || !text) {
    std::cerr << "ornav-corpus: cannot read the dictionary or the text\n";
    return 1;
  }
  std::vector<std::string> lines;
  std::istringstream in(*text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  EvaluationResult r =
      evaluate(parse_unigram_tsv(*unigrams), parse_bigram_tsv(*bigrams), lines, options);
  std::printf(
      "words %llu, unknown %.2f %%, keys %llu -> %llu, saved %.2f %%, "
      "predicted %llu, completed %llu\n",
      static_cast<unsigned long long>(r.words), 100.0 * r.unknown_rate(),
      static_cast<unsigned long long>(r.keys_without), static_cast<unsigned long long>(r.keys_with),
      100.0 * r.savings(), static_cast<unsigned long long>(r.predicted_words),
      static_cast<unsigned long long>(r.completed_words));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << kUsage;
    return 2;
  }
  std::string command = argv[1];
  Args args;
  for (int i = 2; i < argc; ++i)
    args.items.emplace_back(argv[i]);
  if (command == "build") return build(args);
  if (command == "evaluate") return evaluate_command(args);
  std::cerr << "ornav-corpus: unknown command " << command << "\n" << kUsage;
  return 2;
}
