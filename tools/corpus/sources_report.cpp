#include "sources_report.h"

#include <sstream>

namespace ornav::corpus {
namespace {

std::string_view field(std::string_view line, size_t index) {
  for (size_t i = 0; i < index; ++i) {
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    line.remove_prefix(tab + 1);
  }
  return line.substr(0, line.find('\t'));
}

std::string cell(std::string_view s) {
  std::string out;
  for (char c : s)
    out += (c == '|' ? '/' : c);
  return out.empty() ? "-" : out;
}

}  // namespace

std::map<std::string, PackageInfo> parse_manifest(std::string_view text) {
  std::map<std::string, PackageInfo> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    std::string_view line = text.substr(pos, eol == std::string_view::npos ? eol : eol - pos);
    pos = eol == std::string_view::npos ? text.size() : eol + 1;
    std::string_view name = field(line, 0);
    if (name.empty()) continue;
    out[std::string(name)] = {std::string(field(line, 1)), std::string(field(line, 2))};
  }
  return out;
}

std::string sources_markdown(const ReportInput& in) {
  const CounterTotals& t = in.counter->totals();
  const DictionaryStats& d = in.dictionary->stats;
  std::ostringstream md;
  md << "# Sources of the dictionary counts\n\n"
     << "`unigram.tsv` and `bigram.tsv` hold counts of Uyghur words and of neighbouring word "
        "pairs, measured on the Uyghur text that Debian 12 packages and a few npm packages (named "
        "`npm-<name>` below) carry, with the tesseract-ocr-uig word list and inflected forms "
        "generated from the counted words filling gaps at the bottom. They were produced by "
        "`scripts/corpus/refresh` (see `docs/dictionary.md`). Only counts are shipped, never the "
        "text they were measured on.\n\n"
     << "The package `libreoffice-l10n-ug` is never read: it is kept apart to evaluate "
        "predictions. Of the distinct source strings, those whose normalised text hashes to a "
        "multiple of 20 are held out for evaluation as well and are not counted; with `--dev`, "
        "those "
        "that leave 1 are the development text on which the shaping was fitted, and are not "
        "counted either.\n\n"
     << "Build options: `" <<
      [&] {
        std::string all;
        for (const auto& o : in.options)
          all += (all.empty() ? "" : " ") + o;
        return all.empty() ? std::string("(defaults)") : all;
      }()
     << "`\n\n";

  md << "## Totals\n\n"
     << "| | |\n|---|---|\n"
     << "| packages read | " << in.packages.size() << " |\n"
     << "| source strings with Uyghur words (duplicates included) | " << t.strings_seen << " |\n"
     << "| distinct source strings | " << t.distinct_strings << " |\n"
     << "| held out for evaluation | " << t.held_out_strings << " strings, " << t.held_out_tokens
     << " words |\n"
     << "| development text (only with --dev) | " << t.development_strings << " strings, "
     << t.development_tokens << " words |\n"
     << "| counted word tokens | " << t.tokens << " |\n"
     << "| letter runs rejected (bare vowel first / ئ without vowel / glued to a foreign letter) | "
     << t.rejected << " (" << t.rejected_bare_vowel << " / " << t.rejected_hamza << " / "
     << t.rejected_foreign << ") |\n"
     << "| distinct words counted | " << d.words_before << " |\n"
     << "| distinct neighbouring pairs counted | " << d.pairs_before << " |\n"
     << "| single-letter tokens dropped | " << d.single_letters_dropped << " |\n"
     << "| suffix tokens demoted or dropped | " << d.suffixes_changed << " |\n";
  if (in.word_list_entries > 0) {
    md << "| word-list entries (" << in.word_list_source << ") accepted / added | "
       << in.word_list_entries << " / " << d.word_list_added << " |\n";
  }
  md << "| inflected forms generated and added | " << d.generated_added << " |\n";
  md << "| words in `unigram.tsv` | " << in.dictionary->words.size() << " (" << in.unigram_bytes
     << " bytes) |\n"
     << "| pairs in `bigram.tsv` | " << in.dictionary->pairs.size() << " (" << in.bigram_bytes
     << " bytes) |\n\n";

  md << "## Kinds of source\n\n| kind | files | strings |\n|---|---|---|\n";
  for (const auto& [kind, files] : in.files_by_kind) {
    auto strings = in.strings_by_kind.find(kind);
    md << "| " << source_kind_name(kind) << " | " << files << " | "
       << (strings == in.strings_by_kind.end() ? 0 : strings->second) << " |\n";
  }

  md << "\n## Packages\n\n"
     << "Strings: strings with Uyghur words found in the package; counted: of those, first seen "
        "there and counted (a string that an earlier package already gave is not counted again); "
        "words: word tokens counted from it. Licences as the package's copyright file declares "
        "them (npm packages: the licence field of their package.json).\n\n"
     << "| package | version | licences | strings | counted | words |\n"
     << "|---|---|---|---|---|---|\n";
  const auto& sources = in.counter->sources();
  for (const auto& [name, info] : in.packages) {
    auto s = sources.find(name);
    SourceStats stats = s == sources.end() ? SourceStats{} : s->second;
    md << "| " << cell(name) << " | " << cell(info.version) << " | " << cell(info.licences) << " | "
       << stats.strings << " | " << stats.counted << " | " << stats.tokens << " |\n";
  }
  return md.str();
}

}  // namespace ornav::corpus
