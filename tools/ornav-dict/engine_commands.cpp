#include "engine_commands.h"

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "base/files.h"
#include "base/temporary_folder.h"
#include "base/text.h"
#include "commands.h"
#include "core/candidate_grid.h"
#include "engine_session.h"
#include "evaluation.h"
#include "key_map_file.h"
#include "map_file.h"
#include "word_text.h"

namespace ornav::dict {
namespace {

// The key table, or the exit status to give up with (after telling why).
std::optional<KeyMapTables> loadKeyTable(const std::string& path, std::ostream& err, int& status) {
  std::string why;
  const auto json = readWholeFile(path, &why);
  if (!json) {
    err << path << ": cannot read: " << why << "\n";
    status = exitIoError;
    return std::nullopt;
  }
  auto table = parseKeyMapJson(*json, &why);
  if (!table) {
    err << path << ": not a key map: " << why << "\n";
    status = exitBadInput;
  }
  return table;
}

std::optional<EngineSession> openEngine(const std::string& dict_dir,
                                        const std::optional<std::string>& user_dir,
                                        std::ostream& err) {
  auto engine = EngineSession::open(dict_dir, user_dir);
  if (!engine) {
    err << dict_dir << ": the engine cannot open this dictionary directory"
        << " (unigram.fst and bigram.fst must both be valid maps)\n";
  }
  return engine;
}

// The candidates as the panel's grid shows them: rows of five, at most five rows.
void printRows(const std::vector<std::string>& words, std::ostream& out) {
  CandidateGrid grid;
  grid.candidates = words;
  const CandidateRows rows = grid.grid();
  if (rows.empty()) {
    out << "  (no candidates)\n";
    return;
  }
  std::size_t number = 1;
  for (const auto& row : rows) {
    for (std::size_t column = 0; column < row.size(); ++column)
      out << (column == 0 ? "  " : "   ") << number++ << ' ' << row[column];
    out << '\n';
  }
  const auto shown = static_cast<std::size_t>(grid.reachable());
  if (words.size() > shown) out << "  (" << words.size() - shown << " more not shown)\n";
}

std::string percent(double share) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%5.1f %%", share * 100.0);
  return buf;
}

}  // namespace

int runCandidates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 4) return usageError(err, "candidates needs DICTDIR KEYMAP.json and KEYS");
  int status = exitOk;
  const auto keys = loadKeyTable(args[2], err, status);
  if (!keys) return status;
  auto engine = openEngine(args[1], std::nullopt, err);
  if (!engine) return exitBadInput;
  const Typist typist(*keys);

  for (std::size_t i = 3; i < args.size(); ++i) {
    engine->reset();
    bool typed = true;
    bool composing = false;
    for (const auto& key : splitKeyEvents(args[i])) {
      const auto text = typist.output(key, composing);
      if (!text) {
        err << "ornav-dict: \"" << key << "\" in \"" << args[i] << "\" has no key-map entry\n";
        typed = false;
        break;
      }
      engine->input(*text);
      composing = composing || !text->empty();
    }
    if (!typed) {
      status = exitBadInput;
      continue;
    }
    if (i > 3) out << '\n';
    out << args[i] << " -> " << engine->buffer() << '\n';
    const auto words = engine->candidates();
    printRows(words, out);
    if (words.empty()) continue;
    const std::string picked = engine->select(0);
    out << "after picking " << picked << ":\n";
    printRows(engine->candidates(), out);
  }
  return status;
}

int runEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> positional;
  bool learning = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--no-learning") {
      learning = false;
    } else if (args[i].starts_with("--")) {
      return usageError(err, "unknown option \"" + args[i] + "\"");
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 3) return usageError(err, "eval needs DICTDIR KEYMAP.json TEXT");
  const std::string& dict_dir = positional[0];

  int status = exitOk;
  const auto keys = loadKeyTable(positional[1], err, status);
  if (!keys) return status;
  std::string why;
  const auto text = readWholeFile(positional[2], &why);
  if (!text) {
    err << positional[2] << ": cannot read: " << why << "\n";
    return exitIoError;
  }
  if (!isValidUtf8(*text)) {
    err << positional[2] << ": not valid UTF-8 text\n";
    return exitBadInput;
  }
  const auto unigram = openMapFile(std::filesystem::path(dict_dir) / "unigram.fst");
  if (!unigram.map) {
    err << unigram.error << "\n";
    return unigram.io_error ? exitIoError : exitBadInput;
  }

  // A fresh user directory for the learning engine, gone with this run.
  const TemporaryFolder user_dir("ornav-dict-eval");
  if (learning && user_dir.path().empty()) {
    err << "ornav-dict: cannot create a temporary user directory\n";
    return exitIoError;
  }
  auto engine = openEngine(
      dict_dir, learning ? std::optional<std::string>(user_dir.path().string()) : std::nullopt,
      err);
  if (!engine) return exitBadInput;

  const auto lines = splitTextIntoLines(*text);
  std::size_t total = 0;
  for (const auto& line : lines)
    total += line.size();
  const auto started = std::chrono::steady_clock::now();

  EvalOptions options;
  options.learning = learning;
  options.in_vocabulary = [&](std::string_view word) { return unigram.map->get(word).has_value(); };
  // On a terminal the progress line overwrites itself; in a log each report is a line of its own.
  const bool terminal = &err == &std::cerr && ::isatty(STDERR_FILENO);
  options.progress = [&](std::size_t done) {
    err << (terminal ? "\r" : "") << "eval: " << done << " / " << total << " words"
        << (terminal ? "" : "\n") << std::flush;
  };
  const auto figures = evaluate(*engine, Typist(*keys), lines, options);
  if (terminal && total >= 1000) err << "\n";
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started);

  out << "eval: " << figures.words << " words, " << figures.letters << " letters, " << lines.size()
      << " lines; learning " << (learning ? "on" : "off") << '\n';
  out << "  keystroke savings   " << percent(figures.keystrokeSavings()) << "  (" << figures.keys
      << " keys instead of " << figures.baselineKeys() << ")\n";
  out << "  from predictions    " << percent(figures.predictionShare()) << "  ("
      << figures.from_predictions << " words)\n";
  out << "  from candidates     "
      << percent(figures.words ? double(figures.from_candidates) / double(figures.words) : 0)
      << "  (" << figures.from_candidates << " words)\n";
  out << "  typed whole         "
      << percent(figures.words ? double(figures.typed_whole) / double(figures.words) : 0) << "  ("
      << figures.typed_whole << " words)\n";
  out << "  out of vocabulary   " << percent(figures.outOfVocabularyRate()) << "  ("
      << figures.out_of_vocabulary << " words)\n";
  if (figures.untypeable > 0) {
    out << "  skipped: " << figures.untypeable << " words the key map cannot type\n";
  }
  err << "eval: " << seconds.count() << " s\n";
  return exitOk;
}

}  // namespace ornav::dict
