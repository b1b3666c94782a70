#include "map_build.h"

#include <system_error>

#include "base/files.h"
#include "fst_builder.h"
#include "fst_map.h"
#include "ranking_index_builder.h"

namespace ornav::dict {
namespace {

// A map or index file, readable by everyone, replaced atomically.
std::optional<std::string> writeMapFile(const std::filesystem::path& path,
                                        const std::vector<std::uint8_t>& bytes) {
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return writeFileAtomically(path, content, {.mode = 0644, .folderMode = 0755});
}

// Enough lines to see a pattern without burying the summary.
constexpr std::size_t maxProblemsShown = 20;

std::optional<CountTable> readCountFile(const std::filesystem::path& path, CountFileKind kind,
                                        std::ostream& log, bool& io_failed) {
  std::string error;
  const auto text = readWholeFile(path, &error);
  if (!text) {
    log << path.string() << ": cannot read: " << error << "\n";
    io_failed = true;
    return std::nullopt;
  }
  auto table = parseCountFile(*text, kind);
  for (std::size_t i = 0; i < table.problems.size() && i < maxProblemsShown; ++i) {
    log << path.string() << ":" << table.problems[i].line << ": " << table.problems[i].message
        << "\n";
  }
  if (table.problems.size() > maxProblemsShown) {
    log << path.string() << ": ... and " << table.problems.size() - maxProblemsShown
        << " more problems\n";
  }
  return table;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> buildMapBytes(const std::vector<CountEntry>& entries) {
  fst::Builder builder;
  for (const auto& entry : entries) {
    if (!builder.insert(entry.key, entry.count)) return std::nullopt;
  }
  return builder.finish();
}

BuildOutcome buildDictionary(const std::filesystem::path& unigram_tsv,
                             const std::filesystem::path& bigram_tsv,
                             const std::filesystem::path& out_dir, std::ostream& log) {
  using Status = BuildOutcome::Status;
  BuildOutcome outcome;
  bool io_failed = false;
  const auto words = readCountFile(unigram_tsv, CountFileKind::words, log, io_failed);
  const auto pairs = readCountFile(bigram_tsv, CountFileKind::pairs, log, io_failed);
  if (io_failed) {
    outcome.status = Status::io_error;
    return outcome;
  }
  if (!words->problems.empty() || !pairs->problems.empty()) {
    log << "build: no maps written; fix the lines above\n";
    outcome.status = Status::bad_input;
    return outcome;
  }
  outcome.words = words->entries.size();
  outcome.pairs = pairs->entries.size();

  std::error_code ec;
  std::filesystem::create_directories(out_dir, ec);
  if (ec) {
    log << out_dir.string() << ": cannot create directory: " << ec.message() << "\n";
    outcome.status = Status::io_error;
    return outcome;
  }
  const struct {
    const CountTable& table;
    const char* name;
  } outputs[] = {{*words, "unigram.fst"}, {*pairs, "bigram.fst"}};
  std::vector<fst::Map> maps;
  for (const auto& out : outputs) {
    auto bytes = buildMapBytes(out.table.entries);
    if (!bytes) {  // parseCountFile sorts and removes duplicates, so this is a fault of ours
      log << "build: internal error: keys out of order for " << out.name << "\n";
      outcome.status = Status::io_error;
      return outcome;
    }
    const auto path = out_dir / out.name;
    if (const auto error = writeMapFile(path, *bytes)) {
      log << path.string() << ": cannot write: " << *error << "\n";
      outcome.status = Status::io_error;
      return outcome;
    }
    log << path.string() << ": " << out.table.entries.size() << " keys, " << bytes->size()
        << " bytes\n";
    if (auto map = fst::Map::open(std::move(*bytes))) maps.push_back(std::move(*map));
  }
  // The engine's optional ranking index, written last: the engine uses it only with the very
  // maps it was built for, so one left from an earlier build is never misread.
  if (maps.size() != 2 || !writeRankingIndex(out_dir, maps[0], maps[1], log)) {
    outcome.status = Status::io_error;
  }
  return outcome;
}

bool writeRankingIndex(const std::filesystem::path& dir, const fst::Map& unigram,
                       const fst::Map& bigram, std::ostream& log) {
  const auto index = build_ranking_index(unigram, bigram);
  const auto path = dir / "ranking.idx";
  const auto error = index ? writeMapFile(path, *index) : std::string("maps without checksums");
  if (error) {
    log << path.string() << ": cannot write: " << *error << "\n";
    return false;
  }
  log << path.string() << ": " << index->size() << " bytes\n";
  return true;
}

}  // namespace ornav::dict
