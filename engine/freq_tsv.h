// Word-frequency TSV: one line per word, "word<TAB>count<LF>". The format of the user files, of
// the exports and of the cloud dictionary text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ornav {

// Heterogeneous lookup, so the hot paths can look words up by string_view without copying.
struct WordHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view word) const noexcept {
    return std::hash<std::string_view>{}(word);
  }
};

using FreqTable = std::unordered_map<std::string, std::uint64_t, WordHash, std::equal_to<>>;

// Reads TSV text. Text that is not valid UTF-8 anywhere gives an empty table; malformed lines are
// skipped one by one; of several lines for one word the last wins.
FreqTable parse_freq_tsv(std::string_view text);

// The count field of one line: White_Space trimmed, an optional "+", ASCII digits, at most
// 18446744073709551615. Empty when the field is anything else.
std::optional<std::uint64_t> parse_count(std::string_view field);

// Words that cannot be written as one TSV line and read back unchanged: empty, or holding a TAB,
// CR or LF. Their counts stay in memory and are never written.
bool is_writable_word(std::string_view word);

// The whole table as TSV text, lines sorted by word bytes so files and exports are reproducible.
// Unwritable words are left out. An empty table gives empty text.
std::string format_freq_tsv(const FreqTable& table);

}  // namespace ornav
