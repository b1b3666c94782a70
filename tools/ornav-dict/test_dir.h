// Test helper: a scratch directory removed at the end of the test, and small file writers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ornav::dict::testing {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, std::string_view text);
std::string readFile(const std::filesystem::path& path);

// Writes the two count files into `dir` and builds unigram.fst and bigram.fst beside them;
// false (with the build's messages in *log) when the build refuses them.
bool makeDictionary(const std::filesystem::path& dir, std::string_view unigram_tsv,
                    std::string_view bigram_tsv, std::string* log = nullptr);

}  // namespace ornav::dict::testing
