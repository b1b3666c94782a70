#include "test_dir.h"

#include <fstream>
#include <sstream>

#include "map_build.h"

namespace ornav::dict::testing {

void writeFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool makeDictionary(const std::filesystem::path& dir, std::string_view unigram_tsv,
                    std::string_view bigram_tsv, std::string* log) {
  writeFile(dir / "unigram.tsv", unigram_tsv);
  writeFile(dir / "bigram.tsv", bigram_tsv);
  std::ostringstream messages;
  const auto outcome = buildDictionary(dir / "unigram.tsv", dir / "bigram.tsv", dir, messages);
  if (log) *log = messages.str();
  return outcome.status == BuildOutcome::Status::ok;
}

}  // namespace ornav::dict::testing
