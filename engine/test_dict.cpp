#include "test_dict.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "fst/fst_builder.h"
#include "ranking_index_builder.h"

namespace ornav::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ornav-engine-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may leave a directory read-only; make it writable again so it can be removed.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string pair_key(std::string_view first, std::string_view second) {
  std::string key(first);
  key.push_back('\x1F');
  key.append(second);
  return key;
}

std::vector<std::uint8_t> build_map_bytes(const KeyCounts& keys) {
  fst::Builder builder;
  for (const auto& [key, value] : keys) {
    if (!builder.insert(key, value)) throw std::runtime_error("builder rejected a key");
  }
  return builder.finish();
}

fst::Map build_map(const KeyCounts& keys) {
  auto map = fst::Map::open(build_map_bytes(keys));
  if (!map) throw std::runtime_error("built map does not open");
  return std::move(*map);
}

void write_dict(const std::string& dir, const KeyCounts& unigram, const KeyCounts& bigram) {
  const auto write = [](const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
  };
  write(dir + "/unigram.fst", build_map_bytes(unigram));
  write(dir + "/bigram.fst", build_map_bytes(bigram));
}

void write_ranking_index(const std::string& dir, std::uint32_t threshold) {
  const auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    auto map = fst::Map::open(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    if (!map) throw std::runtime_error("cannot open " + path);
    return std::move(*map);
  };
  const IndexParams params{.prefix_threshold = threshold,
                           .prefix_list_limit = 60,
                           .long_list_threshold = 200,
                           .long_list_limit = 120,
                           .context_threshold = threshold,
                           .context_list_limit = 60};
  const auto bytes =
      build_ranking_index(read(dir + "/unigram.fst"), read(dir + "/bigram.fst"), params);
  if (!bytes) throw std::runtime_error("cannot build the ranking index");
  std::ofstream out(dir + "/ranking.idx", std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes->data()), std::streamsize(bytes->size()));
  if (!out) throw std::runtime_error("cannot write the ranking index");
}

void write_text(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), std::streamsize(text.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> list_dir(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace ornav::testing
