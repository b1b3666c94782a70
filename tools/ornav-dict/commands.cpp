#include "commands.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "base/text.h"
#include "engine_commands.h"
#include "engine_session.h"
#include "key_text.h"
#include "map_build.h"
#include "map_file.h"

namespace ornav::dict {
namespace {

constexpr std::string_view helpText =
    R"(ornav-dict: builds and inspects the dictionary maps of the Ornavel input method.

Usage:
  ornav-dict build UNIGRAM.tsv BIGRAM.tsv OUTDIR
      Builds OUTDIR/unigram.fst (key: the word's UTF-8 bytes, value: its count) and
      OUTDIR/bigram.fst (key: first word, byte 0x1F, second word; value: the pair count)
      from word<TAB>count and first<TAB>second<TAB>count lines. Lines may come in any order.
      Every bad line is reported as FILE:LINE: why (missing TAB, extra field, empty or
      non-UTF-8 word, a control byte such as 0x1F or a space in a word, a count that is not
      a number from 1 to 18446744073709551615, a word or pair given twice); then nothing is
      written. Each map is replaced whole, never left half-written. OUTDIR/ranking.idx, the
      engine's optional index for these two maps, is written after them.
  ornav-dict index DICTDIR
      Writes DICTDIR/ranking.idx, the engine's ranking index for the maps in DICTDIR, as
      build does after the maps. An engine that finds none (or one of other maps) builds it
      itself in the background, but ranks without it until then. Maps whose bytes differ from
      their stored checksums, or of a format without checksums, are refused.
  ornav-dict dump MAP.fst
      Prints every key and its value, KEY<TAB>VALUE, in key order. The pair separator 0x1F
      prints as a TAB (a pair map dumps as first<TAB>second<TAB>count); control bytes, a
      backslash and invalid UTF-8 print as \xHH.
  ornav-dict lookup MAP.fst KEY...
      Prints KEY<TAB>VALUE for each key, or KEY<TAB>- when it is absent. In KEY, a TAB or
      U+241F (the character ␟) stands for the pair separator, and \xHH for any byte.
  ornav-dict candidates DICTDIR --keymap KEYMAP.json KEYS...
      Types each Latin key sequence through the key map into an engine over DICTDIR (no user
      directory, so nothing is learned), key by key as the input method does (two-key
      spellings of a layout that has them included), and prints its candidates in rows of
      five, then the predictions shown after picking the first candidate.
  ornav-dict stats DICTDIR
      Key counts, file sizes, count totals, the most frequent words and pairs, and the time
      an engine takes to open the directory (median of 21 creations, no user directory).
  ornav-dict eval DICTDIR TEXT --keymap KEYMAP.json [--keymap KEYMAP.json ...] [--no-learning]
      Types every word of the UTF-8 file TEXT as a user would: picks it from the first row
      of five candidates (predictions first, then after each key) or types it whole and
      commits it with Space. A key costs one press (Shift included), so a two-key spelling
      costs two. Reports, for each key map in turn, keystroke savings (1 - keys pressed /
      (letters + 1 per word)), the share of words taken from predictions, the
      out-of-vocabulary rate and the presses needed without prediction. Learning is on (a
      fresh temporary user directory for each key map, removed afterwards) unless
      --no-learning is given. Each line of TEXT starts without context.
  In both, KEYMAP.json may also stand right after DICTDIR instead of --keymap.
  ornav-dict --help
      This text.

Exit status:
  0  success
  1  bad input: a malformed count file, map, key map, text or dictionary directory
  2  usage error
  3  a file could not be read or written
  4  lookup: at least one key is absent
)";

int runBuild(const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() != 4) return usageError(err, "build needs UNIGRAM.tsv BIGRAM.tsv OUTDIR");
  const auto outcome = buildDictionary(args[1], args[2], args[3], err);
  switch (outcome.status) {
    case BuildOutcome::Status::ok:
      return exitOk;
    case BuildOutcome::Status::bad_input:
      return exitBadInput;
    case BuildOutcome::Status::io_error:
      break;
  }
  return exitIoError;
}

int mapOpenFailure(const MapFileResult& result, std::ostream& err) {
  err << result.error << "\n";
  return result.io_error ? exitIoError : exitBadInput;
}

int runIndex(const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() != 2) return usageError(err, "index needs DICTDIR");
  const std::filesystem::path dir = args[1];
  const auto unigram = openMapFile(dir / "unigram.fst");
  if (!unigram.map) return mapOpenFailure(unigram, err);
  const auto bigram = openMapFile(dir / "bigram.fst");
  if (!bigram.map) return mapOpenFailure(bigram, err);
  if (!unigram.map->stored_checksum() || !bigram.map->stored_checksum()) {
    err << dir.string() << ": maps of a format without checksums cannot have an index\n";
    return exitBadInput;
  }
  return writeRankingIndex(dir, *unigram.map, *bigram.map, err) ? exitOk : exitIoError;
}

int runDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return usageError(err, "dump needs MAP.fst");
  const auto opened = openMapFile(args[1]);
  if (!opened.map) return mapOpenFailure(opened, err);
  auto stream = opened.map->prefix_stream("");
  while (stream.next())
    out << showKey(stream.key()) << '\t' << stream.value() << '\n';
  return exitOk;
}

int runLookup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 3) return usageError(err, "lookup needs MAP.fst and at least one KEY");
  std::vector<std::string> keys;
  for (std::size_t i = 2; i < args.size(); ++i) {
    auto key = parseKeyArgument(args[i]);
    if (!key) return usageError(err, "malformed \\x escape in key \"" + args[i] + "\"");
    keys.push_back(std::move(*key));
  }
  const auto opened = openMapFile(args[1]);
  if (!opened.map) return mapOpenFailure(opened, err);
  int status = exitOk;
  for (const auto& key : keys) {
    out << showKey(key) << '\t';
    if (const auto value = opened.map->get(key)) {
      out << *value << '\n';
    } else {
      out << "-\n";
      status = exitNotFound;
    }
  }
  return status;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

struct MapSummary {
  std::uint64_t keys = 0;
  std::uint64_t total = 0;
  std::size_t distinct_firsts = 0;  // pair maps: words with at least one continuation
  std::size_t longest = 0;          // characters of the longest key
  std::vector<std::pair<std::string, std::uint64_t>> top;
};

MapSummary summarise(const fst::Map& map, std::size_t top_n, bool pairs) {
  // Highest count first; equal counts in key order, so the list is the same on every run.
  const auto by_count = [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  };
  MapSummary summary;
  std::string last_first;
  auto stream = map.prefix_stream("");
  while (stream.next()) {
    const std::string_view key = stream.key();
    ++summary.keys;
    summary.total = saturatingAdd(summary.total, stream.value());
    summary.longest = std::max(summary.longest, codePointCount(key));
    if (pairs) {
      const auto first = key.substr(0, key.find('\x1F'));
      if (summary.distinct_firsts == 0 || first != last_first) {
        ++summary.distinct_firsts;
        last_first = first;
      }
    }
    summary.top.emplace_back(key, stream.value());
    // Keep the list short while streaming: trim to the best top_n whenever it doubles.
    if (summary.top.size() >= 2 * top_n + 64) {
      std::partial_sort(summary.top.begin(), summary.top.begin() + top_n, summary.top.end(),
                        by_count);
      summary.top.resize(top_n);
    }
  }
  std::sort(summary.top.begin(), summary.top.end(), by_count);
  if (summary.top.size() > top_n) summary.top.resize(top_n);
  return summary;
}

// What opening the directory costs an engine (both maps read whole into memory), in milliseconds;
// nothing when the engine refuses it.
std::optional<double> medianCreationMs(const std::string& dict_dir) {
  std::vector<double> ms;
  for (int i = 0; i < 21; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const auto engine = EngineSession::open(dict_dir, std::nullopt);
    const auto stop = std::chrono::steady_clock::now();
    if (!engine) return std::nullopt;
    ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::nth_element(ms.begin(), ms.begin() + 10, ms.end());
  return ms[10];
}

int runStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) return usageError(err, "stats needs DICTDIR");
  const std::filesystem::path dir = args[1];
  const auto unigram = openMapFile(dir / "unigram.fst");
  if (!unigram.map) return mapOpenFailure(unigram, err);
  const auto bigram = openMapFile(dir / "bigram.fst");
  if (!bigram.map) return mapOpenFailure(bigram, err);

  const auto words = summarise(*unigram.map, 20, false);
  const auto pairs = summarise(*bigram.map, 10, true);
  out << "unigram.fst: " << words.keys << " words, " << unigram.map->size_in_bytes()
      << " bytes, counts total " << words.total << ", longest word " << words.longest
      << " letters\n";
  out << "bigram.fst: " << pairs.keys << " pairs after " << pairs.distinct_firsts
      << " distinct words, " << bigram.map->size_in_bytes() << " bytes, counts total "
      << pairs.total << "\n";
  out << "\nmost frequent words:\n";
  for (std::size_t i = 0; i < words.top.size(); ++i) {
    out << "  " << i + 1 << '\t' << showKey(words.top[i].first) << '\t' << words.top[i].second
        << '\n';
  }
  out << "\nmost frequent pairs:\n";
  for (std::size_t i = 0; i < pairs.top.size(); ++i) {
    out << "  " << i + 1 << '\t' << showKey(pairs.top[i].first) << '\t' << pairs.top[i].second
        << '\n';
  }
  if (const auto ms = medianCreationMs(dir.string())) {
    char line[64];
    std::snprintf(line, sizeof line, "\nengine creation: %.2f ms (median of 21)\n", *ms);
    out << line;
  }
  return exitOk;
}

}  // namespace

int usageError(std::ostream& err, std::string_view message) {
  err << "ornav-dict: " << message << "\nTry 'ornav-dict --help'.\n";
  return exitUsage;
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return usageError(err, "missing command");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << helpText;
    return exitOk;
  }
  if (command == "build") return runBuild(args, err);
  if (command == "index") return runIndex(args, err);
  if (command == "dump") return runDump(args, out, err);
  if (command == "lookup") return runLookup(args, out, err);
  if (command == "candidates") return runCandidates(args, out, err);
  if (command == "stats") return runStats(args, out, err);
  if (command == "eval") return runEval(args, out, err);
  return usageError(err, "unknown command \"" + command + "\"");
}

}  // namespace ornav::dict
