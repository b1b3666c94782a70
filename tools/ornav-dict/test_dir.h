// Test helpers: a scratch directory removed at the end of the test, and small file writers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/temporary_folder.h"

namespace ornav::dict::testing {

using ScratchDir = TemporaryFolder;

void writeFile(const std::filesystem::path& path, std::string_view text);
std::string readFile(const std::filesystem::path& path);

// Writes the two count files into `dir` and builds unigram.fst and bigram.fst beside them;
// false (with the build's messages in *log) when the build refuses them.
bool makeDictionary(const std::filesystem::path& dir, std::string_view unigram_tsv,
                    std::string_view bigram_tsv, std::string* log = nullptr);

}  // namespace ornav::dict::testing
