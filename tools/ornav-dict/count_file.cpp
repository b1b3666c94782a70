#include "count_file.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "base/text.h"

namespace ornav::dict {
namespace {

struct LineEntry {
  std::string key;
  std::uint64_t count;
  std::size_t line;
};

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const auto tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

std::string hexByte(unsigned char b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", b);
  return buf;
}

// Why `word` cannot be a dictionary word, or nothing when it can.
std::optional<std::string> wordProblem(std::string_view word, std::string_view what) {
  const std::string name(what);
  if (word.empty()) return name + " is empty";
  if (!isValidUtf8(word)) return name + " is not valid UTF-8";
  for (const char ch : word) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == static_cast<unsigned char>(pairSeparator)) {
      return name + " contains the pair separator byte 0x1F";
    }
    if (b < 0x20 || b == 0x7F) return name + " contains the control character " + hexByte(b);
    if (b == ' ') return name + " contains a space";
  }
  return std::nullopt;
}

std::string countProblem(std::string_view text) {
  const std::string shown(text);
  if (text.empty()) return "count is empty";
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return "count \"" + shown + "\" is not a number";
  }
  return "count " + shown + " is out of range (1 to 18446744073709551615)";
}

}  // namespace

std::optional<std::uint64_t> parseCount(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  constexpr auto max = std::numeric_limits<std::uint64_t>::max();
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (max - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  if (value == 0) return std::nullopt;
  return value;
}

CountTable parseCountFile(std::string_view text, CountFileKind kind) {
  CountTable table;
  std::vector<LineEntry> lines;
  const std::size_t want = kind == CountFileKind::words ? 2 : 3;
  const char* layout =
      kind == CountFileKind::words ? "word<TAB>count" : "first<TAB>second<TAB>count";

  std::size_t number = 0;
  while (!text.empty()) {
    const auto lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    const auto problem = [&](std::string message) {
      table.problems.push_back({number, std::move(message)});
    };
    if (line.empty()) {
      problem("empty line");
      continue;
    }
    const auto fields = splitTabs(line);
    if (fields.size() < want) {
      problem("missing TAB (expected " + std::string(layout) + ")");
      continue;
    }
    if (fields.size() > want) {
      problem(std::to_string(fields.size()) + " TAB-separated fields, expected " +
              std::to_string(want) + " (" + layout + ")");
      continue;
    }
    bool ok = true;
    for (std::size_t i = 0; i + 1 < want; ++i) {
      const char* what = want == 2 ? "word" : (i == 0 ? "first word" : "second word");
      if (auto why = wordProblem(fields[i], what)) {
        problem(*why);
        ok = false;
        break;
      }
    }
    if (!ok) continue;
    const auto count = parseCount(fields.back());
    if (!count) {
      problem(countProblem(fields.back()));
      continue;
    }
    std::string key(fields[0]);
    if (want == 3) {
      key += pairSeparator;
      key += fields[1];
    }
    lines.push_back({std::move(key), *count, number});
  }

  // Sorting here frees the producer from matching the map's byte order; a key given twice is
  // refused rather than summed or overwritten, because it means the producer has a fault.
  std::stable_sort(lines.begin(), lines.end(),
                   [](const LineEntry& a, const LineEntry& b) { return a.key < b.key; });
  const char* noun = kind == CountFileKind::words ? "word" : "pair";
  std::size_t first_line = 0;  // line of the entry last accepted
  for (auto& entry : lines) {
    if (!table.entries.empty() && entry.key == table.entries.back().key) {
      table.problems.push_back({entry.line, std::string("duplicate ") + noun +
                                                " (first given on line " +
                                                std::to_string(first_line) + ")"});
      continue;
    }
    first_line = entry.line;
    table.entries.push_back({std::move(entry.key), entry.count});
  }
  std::stable_sort(table.problems.begin(), table.problems.end(),
                   [](const InputProblem& a, const InputProblem& b) { return a.line < b.line; });
  return table;
}

}  // namespace ornav::dict
