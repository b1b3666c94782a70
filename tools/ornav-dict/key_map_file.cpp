#include "key_map_file.h"

#include <algorithm>
#include <limits>
#include <set>

#include "base/text.h"
#include "core/key_map.h"
#include "core/word_spelling.h"

namespace ornav::dict {
namespace {

// Among typed strings that cost the same, plain lower-case ASCII first, then other ASCII, then
// the rest (a dead-key é costs an extra press on most layouts even when it is one character).
int typingRank(std::string_view typed) {
  bool ascii = true;
  bool lower = true;
  for (const char c : typed) {
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (!(c >= 'a' && c <= 'z')) lower = false;
  }
  return lower ? 0 : (ascii ? 1 : 2);
}

}  // namespace

std::optional<KeyMapTables> parseKeyMapJson(std::string_view json, std::string* why) {
  const auto file = parseKeyMap(json, why);
  if (!file) return std::nullopt;
  KeyMapExtras extras = file->extras();
  return KeyMapTables{KeyTable(file->map.begin(), file->map.end()), std::move(extras.initial),
                      std::move(extras.punctuation), std::move(extras.digraphs)};
}

std::vector<Typist::Way> Typist::cheapestWays(const KeyTable& table) {
  std::vector<Way> ways;
  for (const auto& entry : table) {
    // Named references rather than a structured binding: the lambdas below capture them.
    const std::string& typed = entry.first;
    const std::string& output = entry.second;
    if (output.empty() || typed.empty()) continue;
    const std::size_t presses = codePointCount(typed);
    auto it =
        std::find_if(ways.begin(), ways.end(), [&](const Way& w) { return w.output == output; });
    if (it == ways.end()) {
      ways.push_back({output, typed, presses});
      continue;
    }
    const auto better = [&] {
      if (presses != it->presses) return presses < it->presses;
      const int a = typingRank(typed), b = typingRank(it->typed);
      if (a != b) return a < b;
      return typed < it->typed;
    };
    if (better()) *it = {output, typed, presses};
  }
  return ways;
}

namespace {

// What each key appends in the middle of a word and at its start. A punctuation key never
// reaches the composition; a key with an "initial" entry types that text at the start.
KeyTable keysInWord(const KeyMapTables& tables) {
  std::set<std::string> spelled;
  for (const auto& entry : tables.digraphs)
    spelled.insert(entry.second);
  KeyTable keys;
  for (const auto& [typed, output] : tables.map) {
    // A letter with a two-key spelling is written with it, as the layout's users write it (the
    // ULY layout's c for چ only starts ch).
    if (!tables.punctuation.contains(typed) && !spelled.contains(output)) keys[typed] = output;
  }
  // A two-key spelling costs its two presses.
  for (const auto& [typed, output] : tables.digraphs)
    keys.emplace(typed, output);
  return keys;
}

std::optional<std::string> cheapestKeyFor(const KeyTable& keys, std::string_view output) {
  std::optional<std::string> best;
  for (const auto& [typed, text] : keys) {
    if (text != output) continue;
    if (!best || codePointCount(typed) < codePointCount(*best)) best = typed;
  }
  return best;
}

KeyTable keysAtStart(const KeyMapTables& tables) {
  KeyTable keys = keysInWord(tables);
  for (const auto& [typed, output] : tables.initial) {
    if (!tables.punctuation.contains(typed)) keys[typed] = output;
  }
  return keys;
}

}  // namespace

Typist::Typist(const KeyMapTables& tables)
    : tables_(tables),
      keys_(ornav::KeyTable(tables.map.begin(), tables.map.end()),
            KeyMapExtras{tables.initial, tables.punctuation, tables.digraphs}),
      separator_(cheapestKeyFor(tables.map, "ئ")),
      ways_(cheapestWays(keysInWord(tables))),
      start_ways_(cheapestWays(keysAtStart(tables))) {}

std::optional<TypedText> Typist::type(std::string_view word) const {
  // Shortest path over byte positions; outputs may be longer than one character, and the first
  // key of the word types its word-initial text.
  constexpr std::size_t unreachable = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> cost(word.size() + 1, unreachable);
  std::vector<const Way*> via(word.size() + 1, nullptr);
  std::vector<std::size_t> from(word.size() + 1, 0);
  const auto relax = [&](std::size_t at, const Way& way) {
    if (!word.substr(at).starts_with(way.output)) return;
    const std::size_t end = at + way.output.size();
    if (cost[at] + way.presses < cost[end]) {
      cost[end] = cost[at] + way.presses;
      via[end] = &way;
      from[end] = at;
    }
  };
  cost[0] = 0;
  for (const auto& way : start_ways_)
    relax(0, way);
  for (std::size_t at = 1; at < word.size(); ++at) {
    if (cost[at] == unreachable) continue;
    for (const auto& way : ways_)
      relax(at, way);
  }
  if (word.empty()) return TypedText{};
  if (cost[word.size()] == unreachable) return std::nullopt;
  std::vector<const Way*> path;
  for (std::size_t at = word.size(); at > 0; at = from[at])
    path.push_back(via[at]);
  std::reverse(path.begin(), path.end());
  if (!tables_.digraphs.empty()) return spell(path, word);
  TypedText typed;
  typed.presses = cost[word.size()];
  for (const Way* way : path)
    typed.keys.push_back({way->typed, way->output});
  return typed;
}

std::optional<TypedText> Typist::spell(const std::vector<const Way*>& path,
                                       std::string_view word) const {
  std::vector<std::string> events;
  bool afterLetter = false;  // the last key typed a letter of its own, so it may start a spelling
  for (const Way* way : path) {
    const bool spelled = tables_.digraphs.contains(way->typed);
    std::vector<std::string> keys =
        spelled ? splitKeyEvents(way->typed) : std::vector<std::string>{way->typed};
    if (afterLetter && separator_ && tables_.digraphs.contains(events.back() + keys.front()))
      events.push_back(*separator_);
    afterLetter = keys.size() == 1;
    events.insert(events.end(), keys.begin(), keys.end());
  }
  TypedText typed = replay(events);
  // The cheapest letters may not survive the input method's rules (ئ after a consonant before
  // another consonant); such a word cannot be typed this way.
  std::string shown;
  for (const auto& key : typed.keys)
    shown = applySpellingEdit(std::move(shown), {key.erase, key.output});
  if (typed.keys.size() < events.size() || shown != word) return std::nullopt;
  return typed;
}

TypedText Typist::replay(const std::vector<std::string>& events) const {
  WordSpelling spelling;
  std::string shown;
  TypedText typed;
  for (const auto& key : events) {
    if (tables_.punctuation.contains(key)) break;
    const auto edit = spelling.press(keys_, key, shown);
    if (!edit) break;
    shown = applySpellingEdit(std::move(shown), *edit);
    typed.keys.push_back({key, edit->input, edit->erase});
    typed.presses += codePointCount(key);
  }
  return typed;
}

std::optional<std::string> Typist::output(std::string_view typed, bool composing) const {
  const std::string key(typed);
  if (tables_.punctuation.contains(key)) return std::nullopt;
  if (!composing) {
    if (const auto it = tables_.initial.find(key); it != tables_.initial.end()) return it->second;
  }
  if (const auto it = tables_.map.find(key); it != tables_.map.end()) return it->second;
  return std::nullopt;
}

std::vector<std::string> splitKeyEvents(std::string_view typed) {
  std::vector<std::string> events;
  for (std::size_t at = 0; at < typed.size();) {
    const auto c = decodeUtf8At(typed, at);
    const std::size_t size = c ? c->size : 1;
    events.emplace_back(typed.substr(at, size));
    at += size;
  }
  return events;
}

}  // namespace ornav::dict
