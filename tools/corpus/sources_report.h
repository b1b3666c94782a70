// Writes resources/dict/SOURCES.md: where the counts came from (packages, versions, licences)
// and the totals of the run. It names sources and numbers only; no source text.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "corpus_counter.h"
#include "dictionary.h"
#include "source_walker.h"

namespace ornav::corpus {

struct PackageInfo {
  std::string version;
  std::string licences;
};

// The manifest written by the refresh script: "package TAB version TAB licences" lines.
std::map<std::string, PackageInfo> parse_manifest(std::string_view text);

struct ReportInput {
  std::map<std::string, PackageInfo> packages;  // every package that was read
  const CorpusCounter* counter = nullptr;
  const Dictionary* dictionary = nullptr;
  std::map<SourceKind, uint64_t> files_by_kind;
  std::map<SourceKind, uint64_t> strings_by_kind;
  std::vector<std::string> options;  // the build options, as given on the command line
  uint64_t unigram_bytes = 0;
  uint64_t bigram_bytes = 0;
  uint64_t word_list_entries = 0;  // accepted entries of the word list, 0 when none was used
  std::string word_list_source;
};

std::string sources_markdown(const ReportInput& input);

}  // namespace ornav::corpus
