// Test helpers: temporary directories and small dictionaries built with the map builder.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fst/fst_map.h"

namespace ornav::testing {

// Sorted by bytes, as the map builder wants its keys.
using KeyCounts = std::map<std::string, std::uint64_t>;

// A fresh directory under the system temp folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

std::string pair_key(std::string_view first, std::string_view second);
std::vector<std::uint8_t> build_map_bytes(const KeyCounts& keys);
fst::Map build_map(const KeyCounts& keys);

// Writes unigram.fst and bigram.fst into `dir`.
void write_dict(const std::string& dir, const KeyCounts& unigram, const KeyCounts& bigram);
// Writes ranking.idx for the maps in `dir`, with small lists so that small dictionaries use them.
void write_ranking_index(const std::string& dir, std::uint32_t threshold = 4);

void write_text(const std::string& path, std::string_view text);
// The file's content; empty for a missing file.
std::string read_text(const std::string& path);
bool file_exists(const std::string& path);
// Names of the entries of a directory (without "." and "..").
std::vector<std::string> list_dir(const std::string& dir);

}  // namespace ornav::testing
