// Builds .mo catalogs byte by byte for tests.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ornav::corpus::testing {

inline void put32(std::string& out, size_t at, uint32_t v, bool big_endian) {
  for (int k = 0; k < 4; ++k) {
    int shift = big_endian ? 24 - 8 * k : 8 * k;
    out[at + static_cast<size_t>(k)] = static_cast<char>((v >> shift) & 0xFF);
  }
}

// entries: (original, translation); plural forms are joined with '\0' inside the strings.
inline std::string make_mo(const std::vector<std::pair<std::string, std::string>>& entries,
                           bool big_endian = false) {
  const uint32_t n = static_cast<uint32_t>(entries.size());
  const uint32_t originals = 28, translations = originals + 8 * n;
  std::string out(translations + 8 * n, '\0');
  put32(out, 0, 0x950412de, big_endian);
  put32(out, 4, 0, big_endian);
  put32(out, 8, n, big_endian);
  put32(out, 12, originals, big_endian);
  put32(out, 16, translations, big_endian);
  auto add = [&](uint32_t table, uint32_t i, const std::string& s) {
    put32(out, table + 8 * i, static_cast<uint32_t>(s.size()), big_endian);
    put32(out, table + 8 * i + 4, static_cast<uint32_t>(out.size()), big_endian);
    out += s;
    out += '\0';
  };
  for (uint32_t i = 0; i < n; ++i)
    add(originals, i, entries[i].first);
  for (uint32_t i = 0; i < n; ++i)
    add(translations, i, entries[i].second);
  return out;
}

}  // namespace ornav::corpus::testing
