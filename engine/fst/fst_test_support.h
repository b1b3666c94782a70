// Helpers shared by the map tests: the shared fixture folder, whole-file reads, the TSV listings.
//
// Fixtures are read in place from ORNAV_SHARED_DIR/fixtures/fst; a test that needs them skips
// with a message naming the folder when it is absent.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ornav::fst::testing {

using Entries = std::vector<std::pair<std::string, std::uint64_t>>;

inline std::filesystem::path fixture_dir() {
  return std::filesystem::path(ORNAV_SHARED_DIR) / "fixtures" / "fst";
}

#define ORNAV_REQUIRE_FST_FIXTURES()                                                           \
  do {                                                                                         \
    if (!std::filesystem::is_directory(::ornav::fst::testing::fixture_dir())) {                \
      GTEST_SKIP() << "map fixtures folder missing: " << ::ornav::fst::testing::fixture_dir(); \
    }                                                                                          \
  } while (0)

inline std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Parses "HEXKEY<TAB>VALUE<LF>" lines; nullopt on any malformed line.
inline std::optional<Entries> read_tsv(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  Entries entries;
  std::string line;
  while (std::getline(in, line)) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos || tab % 2 != 0) return std::nullopt;
    std::string key;
    for (std::size_t i = 0; i < tab; i += 2) {
      const int hi = hex_digit(line[i]), lo = hex_digit(line[i + 1]);
      if (hi < 0 || lo < 0) return std::nullopt;
      key.push_back(static_cast<char>(hi * 16 + lo));
    }
    const std::string digits = line.substr(tab + 1);
    if (digits.empty()) return std::nullopt;
    entries.emplace_back(std::move(key), std::stoull(digits));
  }
  return entries;
}

// Every entry of the stream under `prefix`, or of a stream that stopped after `limit` entries.
template <typename MapT>
Entries collect(const MapT& map, std::string_view prefix, std::size_t limit = SIZE_MAX) {
  Entries out;
  auto stream = map.prefix_stream(prefix);
  while (out.size() < limit && stream.next())
    out.emplace_back(stream.key(), stream.value());
  return out;
}

// The entries of a sorted listing whose keys begin with `prefix` (they form one run).
inline Entries with_prefix(const Entries& sorted, std::string_view prefix) {
  auto it = std::lower_bound(sorted.begin(), sorted.end(), prefix,
                             [](const auto& e, std::string_view p) { return e.first < p; });
  Entries out;
  for (; it != sorted.end() && std::string_view(it->first).substr(0, prefix.size()) == prefix;
       ++it) {
    out.push_back(*it);
  }
  return out;
}

inline bool listed(const Entries& sorted, std::string_view key) {
  auto it = std::lower_bound(sorted.begin(), sorted.end(), key,
                             [](const auto& e, std::string_view k) { return e.first < k; });
  return it != sorted.end() && it->first == key;
}

// Parsed listings are kept for the whole test program: the large one is read by several tests.
inline const Entries& listing(const std::string& name) {
  static std::map<std::string, Entries> cache;
  auto it = cache.find(name);
  if (it == cache.end()) {
    auto parsed = read_tsv(fixture_dir() / (name + ".tsv"));
    EXPECT_TRUE(parsed) << name << ".tsv unreadable";
    it = cache.emplace(name, parsed ? std::move(*parsed) : Entries{}).first;
  }
  return it->second;
}

// The names of the well-formed fixtures, each with NAME.fst and NAME.tsv.
inline const std::vector<std::string>& valid_fixture_names() {
  static const std::vector<std::string> names = {
      "empty", "one",       "empty-key",     "empty-key-value", "small-ascii", "arabic-words",
      "pairs", "odd-bytes", "shared-suffix", "big-outputs",     "large",       "v2-small"};
  return names;
}

}  // namespace ornav::fst::testing
