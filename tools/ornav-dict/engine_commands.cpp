#include "engine_commands.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
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

// The command's arguments: every "--keymap FILE" in order, the `known_flags` given, the rest
// positional; nothing, with `problem` saying why, for an unknown option or a --keymap without
// its FILE.
struct CommandLine {
  std::vector<std::string> keymaps;
  std::vector<std::string> positional;
  std::vector<std::string> flags;
};

std::optional<CommandLine> splitCommandLine(const std::vector<std::string>& args,
                                            const std::vector<std::string>& known_flags,
                                            std::string& problem) {
  CommandLine line;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--keymap") {
      if (i + 1 >= args.size()) {
        problem = "--keymap needs a FILE";
        return std::nullopt;
      }
      line.keymaps.push_back(args[++i]);
    } else if (std::find(known_flags.begin(), known_flags.end(), args[i]) != known_flags.end()) {
      line.flags.push_back(args[i]);
    } else if (args[i].starts_with("--")) {
      problem = "unknown option \"" + args[i] + "\"";
      return std::nullopt;
    } else {
      line.positional.push_back(args[i]);
    }
  }
  return line;
}

// Without --keymap, the key map is the positional argument after DICTDIR.
void keymapFromPosition(CommandLine& line) {
  if (!line.keymaps.empty() || line.positional.size() < 2) return;
  line.keymaps.push_back(line.positional[1]);
  line.positional.erase(line.positional.begin() + 1);
}

}  // namespace

int runCandidates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string problem;
  auto line = splitCommandLine(args, {}, problem);
  if (!line) return usageError(err, problem);
  keymapFromPosition(*line);
  if (line->keymaps.size() != 1 || line->positional.size() < 2)
    return usageError(err, "candidates needs DICTDIR, one --keymap FILE and KEYS");
  int status = exitOk;
  const auto keys = loadKeyTable(line->keymaps[0], err, status);
  if (!keys) return status;
  auto engine = openEngine(line->positional[0], std::nullopt, err);
  if (!engine) return exitBadInput;
  const Typist typist(*keys);

  bool first = true;
  for (std::size_t i = 1; i < line->positional.size(); ++i) {
    const std::string& sequence = line->positional[i];
    engine->reset();
    const auto events = splitKeyEvents(sequence);
    const TypedText typed = typist.replay(events);
    if (typed.keys.size() < events.size()) {
      err << "ornav-dict: \"" << events[typed.keys.size()] << "\" in \"" << sequence
          << "\" has no key-map entry\n";
      status = exitBadInput;
      continue;
    }
    for (const auto& key : typed.keys) {
      for (std::size_t n = 0; n < key.erase; ++n)
        engine->backspace();
      if (!key.output.empty()) engine->input(key.output);
    }
    if (!first) out << '\n';
    first = false;
    out << sequence << " -> " << engine->buffer() << '\n';
    const auto words = engine->candidates();
    printRows(words, out);
    if (words.empty()) continue;
    const std::string picked = engine->select(0);
    out << "after picking " << picked << ":\n";
    printRows(engine->candidates(), out);
  }
  return status;
}

namespace {

// One layout's figures on the text, from an engine of its own (learning starts afresh).
int evaluateLayout(const std::string& dict_dir, const std::string& keymap, bool learning,
                   const std::vector<std::vector<std::string>>& lines, const fst::Map& unigram,
                   std::ostream& out, std::ostream& err) {
  int status = exitOk;
  const auto keys = loadKeyTable(keymap, err, status);
  if (!keys) return status;
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

  std::size_t total = 0;
  for (const auto& line : lines)
    total += line.size();
  const auto started = std::chrono::steady_clock::now();

  EvalOptions options;
  options.learning = learning;
  options.in_vocabulary = [&](std::string_view word) { return unigram.get(word).has_value(); };
  // On a terminal the progress line overwrites itself; in a log each report is a line of its own.
  const bool terminal = &err == &std::cerr && ::isatty(STDERR_FILENO);
  options.progress = [&](std::size_t done) {
    err << (terminal ? "\r" : "") << "eval: " << done << " / " << total << " words"
        << (terminal ? "" : "\n") << std::flush;
  };
  const auto figures = evaluate(*engine, Typist(*keys), lines, options);
  if (terminal && total >= 1000) err << "\n";
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started);

  const auto share = [&](std::size_t part) {
    return percent(figures.words ? double(part) / double(figures.words) : 0);
  };
  out << "eval: " << figures.words << " words, " << figures.letters << " letters, " << lines.size()
      << " lines; learning " << (learning ? "on" : "off") << "; key map " << keymap << '\n';
  out << "  keystroke savings   " << percent(figures.keystrokeSavings()) << "  (" << figures.keys
      << " keys instead of " << figures.baselineKeys() << ")\n";
  out << "  from predictions    " << percent(figures.predictionShare()) << "  ("
      << figures.from_predictions << " words)\n";
  out << "  from candidates     " << share(figures.from_candidates) << "  ("
      << figures.from_candidates << " words)\n";
  out << "  typed whole         " << share(figures.typed_whole) << "  (" << figures.typed_whole
      << " words)\n";
  out << "  out of vocabulary   " << percent(figures.outOfVocabularyRate()) << "  ("
      << figures.out_of_vocabulary << " words)\n";
  out << "  without prediction  " << figures.full_keys << " keys\n";
  if (figures.untypeable > 0) {
    out << "  skipped: " << figures.untypeable << " words the key map cannot type\n";
  }
  err << "eval: " << seconds.count() << " s\n";
  return exitOk;
}

}  // namespace

int runEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string problem;
  auto line = splitCommandLine(args, {"--no-learning"}, problem);
  if (!line) return usageError(err, problem);
  keymapFromPosition(*line);
  if (line->keymaps.empty() || line->positional.size() != 2)
    return usageError(err, "eval needs DICTDIR, TEXT and --keymap FILE (one per layout)");
  const bool learning = line->flags.empty();
  const std::string& dict_dir = line->positional[0];
  const std::string& text_path = line->positional[1];

  std::string why;
  const auto text = readWholeFile(text_path, &why);
  if (!text) {
    err << text_path << ": cannot read: " << why << "\n";
    return exitIoError;
  }
  if (!isValidUtf8(*text)) {
    err << text_path << ": not valid UTF-8 text\n";
    return exitBadInput;
  }
  const auto unigram = openMapFile(std::filesystem::path(dict_dir) / "unigram.fst");
  if (!unigram.map) {
    err << unigram.error << "\n";
    return unigram.io_error ? exitIoError : exitBadInput;
  }
  const auto lines = splitTextIntoLines(*text);
  for (const auto& keymap : line->keymaps) {
    const int status = evaluateLayout(dict_dir, keymap, learning, lines, *unigram.map, out, err);
    if (status != exitOk) return status;
  }
  return exitOk;
}

}  // namespace ornav::dict
