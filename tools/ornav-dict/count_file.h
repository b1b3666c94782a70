// Reading the committed count files from which the two maps are built:
//   words: word<TAB>count<LF>            -> key = the word's UTF-8 bytes
//   pairs: first<TAB>second<TAB>count<LF> -> key = first, 0x1F, second
// Input may come in any order; entries come back sorted by key bytes, which is the order the map
// builder needs. Everything that could put a wrong key into a shipped map is a problem reported
// with its line number: a missing TAB, a stray field, an empty or non-UTF-8 word, a word with a
// control character or space (0x1F included: it would split a pair key in two), a count that is
// not a plain decimal number from 1 to 2^64-1, and a key given twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::dict {

inline constexpr char pairSeparator = '\x1F';

enum class CountFileKind { words, pairs };

struct CountEntry {
  std::string key;
  std::uint64_t count = 0;
};

struct InputProblem {
  std::size_t line = 0;  // 1-based
  std::string message;
};

struct CountTable {
  std::vector<CountEntry> entries;     // strictly ascending by key bytes when problems is empty
  std::vector<InputProblem> problems;  // in line order
};

CountTable parseCountFile(std::string_view text, CountFileKind kind);

// A count as the files write it: ASCII digits only, 1 to 18446744073709551615.
std::optional<std::uint64_t> parseCount(std::string_view text);

}  // namespace ornav::dict
