#include "freq_tsv.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "saturating.h"
#include "utf8.h"

namespace ornav {
namespace {

// Byte length of a Unicode White_Space character at the start of `s`, 0 when there is none.
std::size_t leading_space(std::string_view s) {
  if (s.empty()) return 0;
  const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t c = b(0);
  if ((c >= 0x09 && c <= 0x0D) || c == 0x20) return 1;
  if (s.size() >= 2 && c == 0xC2 && (b(1) == 0x85 || b(1) == 0xA0)) return 2;  // U+0085, U+00A0
  if (s.size() >= 3 && c == 0xE1 && b(1) == 0x9A && b(2) == 0x80) return 3;    // U+1680
  if (s.size() >= 3 && c == 0xE2 && b(1) == 0x80) {
    const std::uint8_t d = b(2);
    // U+2000..U+200A, U+2028, U+2029, U+202F
    if ((d >= 0x80 && d <= 0x8A) || d == 0xA8 || d == 0xA9 || d == 0xAF) return 3;
  }
  if (s.size() >= 3 && c == 0xE2 && b(1) == 0x81 && b(2) == 0x9F) return 3;  // U+205F
  if (s.size() >= 3 && c == 0xE3 && b(1) == 0x80 && b(2) == 0x80) return 3;  // U+3000
  return 0;
}

// Byte length of a White_Space character at the end of valid UTF-8 `s`, 0 when there is none.
std::size_t trailing_space(std::string_view s) {
  const std::size_t last = utf8::last_char_size(s);
  if (last == 0) return 0;
  return leading_space(s.substr(s.size() - last)) == last ? last : 0;
}

std::string_view trim_space(std::string_view s) {
  while (const std::size_t n = leading_space(s))
    s.remove_prefix(n);
  while (const std::size_t n = trailing_space(s))
    s.remove_suffix(n);
  return s;
}

}  // namespace

std::optional<std::uint64_t> parse_count(std::string_view field) {
  std::string_view digits = trim_space(field);
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    // Too large is rejected, never wrapped; leading zeros are harmless.
    const std::uint64_t digit = std::uint64_t(c - '0');
    if (value > (max_count - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

FreqTable parse_freq_tsv(std::string_view text) {
  FreqTable table;
  if (!utf8::is_valid(text)) return table;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);

    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0) continue;
    const std::optional<std::uint64_t> count = parse_count(line.substr(tab + 1));
    if (!count) continue;
    table.insert_or_assign(std::string(line.substr(0, tab)), *count);
  }
  return table;
}

bool is_writable_word(std::string_view word) {
  return !word.empty() && word.find_first_of("\t\r\n") == std::string_view::npos;
}

std::string format_freq_tsv(const FreqTable& table) {
  std::vector<const FreqTable::value_type*> entries;
  entries.reserve(table.size());
  for (const auto& entry : table) {
    if (is_writable_word(entry.first)) entries.push_back(&entry);
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto* a, const auto* b) { return a->first < b->first; });
  std::string text;
  for (const auto* entry : entries) {
    text.append(entry->first);
    text.push_back('\t');
    text.append(std::to_string(entry->second));
    text.push_back('\n');
  }
  return text;
}

}  // namespace ornav
