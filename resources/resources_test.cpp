// Checks of the shipped resources: the key map types every letter and every dictionary word,
// the display name is plain Uyghur, and the font covers the letters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>

#include "base/files.h"
#include "base/text.h"
#include "core/key_map.h"
#include "core/word_spelling.h"
#include "count_file.h"
#include "key_map_file.h"
#include "ornav_display_name.h"
#include "word_text.h"

namespace ornav::dict {
namespace {

const std::filesystem::path resources = std::filesystem::path(ORNAV_SOURCE_DIR) / "resources";

std::string readResource(const std::string& name) {
  std::string why;
  auto text = readWholeFile(resources / name, &why);
  if (!text) ADD_FAILURE() << name << ": " << why;
  return text.value_or("");
}

// The 32 letters and the hamza carrier, as UTF-8.
std::vector<std::string> uyghurLetters() {
  std::vector<std::string> letters;
  for (char32_t c = 0x0600; c < 0x0700; ++c) {
    if (!isUyghurLetter(c)) continue;
    std::string s;
    appendUtf8(s, c);
    letters.push_back(s);
  }
  return letters;
}

const std::set<std::string> vowels = {"ا", "ە", "و", "ۇ", "ۆ", "ۈ", "ې", "ى"};

KeyMapTables shippedKeyMap() {
  std::string why;
  auto tables = parseKeyMapJson(readResource("keymap.json"), &why);
  if (!tables) ADD_FAILURE() << "keymap.json: " << why;
  return tables.value_or(KeyMapTables{});
}

TEST(ShippedKeyMap, EveryLetterIsOneKeyAway) {
  const auto tables = shippedKeyMap();
  ASSERT_EQ(uyghurLetters().size(), 33u);
  std::set<std::string> outputs;
  for (const auto& [typed, text] : tables.map) {
    EXPECT_EQ(codePointCount(typed), 1u) << typed;
    outputs.insert(text);
  }
  for (const auto& letter : uyghurLetters()) {
    EXPECT_TRUE(outputs.contains(letter)) << letter << " has no key";
  }
  // Nothing else: every key types exactly one of those letters.
  const auto letters = uyghurLetters();
  for (const auto& text : outputs) {
    EXPECT_THAT(letters, ::testing::Contains(text));
  }
}

TEST(ShippedKeyMap, FollowsTheLatinTransliteration) {
  const auto map = shippedKeyMap().map;
  for (char c = 'a'; c <= 'z'; ++c) {
    EXPECT_TRUE(map.contains(std::string(1, c))) << c;
  }
  const std::pair<const char*, const char*> expected[] = {
      {"a", "ا"}, {"e", "ە"}, {"x", "خ"}, {"q", "ق"}, {"w", "ۋ"}, {"'", "ئ"},
      {"E", "ې"}, {"O", "ۆ"}, {"U", "ۈ"}, {"S", "ش"}, {"G", "غ"}, {"N", "ڭ"},
      {"Z", "ژ"}, {"C", "چ"}, {"c", "چ"}, {"H", "ھ"}};
  for (const auto& [typed, text] : expected)
    EXPECT_EQ(map.at(typed), text) << typed;
  // Digits and punctuation stay with the client (the hamza key aside).
  for (const char c : std::string("0123456789.,;:?!\"()-/")) {
    EXPECT_FALSE(map.contains(std::string(1, c))) << c;
  }
}

TEST(ShippedKeyMap, WordInitialVowelsCarryTheHamza) {
  const auto tables = shippedKeyMap();
  EXPECT_FALSE(tables.initial.empty());
  for (const auto& [typed, text] : tables.initial) {
    ASSERT_TRUE(tables.map.contains(typed)) << typed;
    const std::string& vowel = tables.map.at(typed);
    EXPECT_TRUE(vowels.contains(vowel)) << typed;
    EXPECT_EQ(text, "ئ" + vowel) << typed;
  }
  for (const auto& vowel : vowels) {
    EXPECT_TRUE(Typist(tables).type("ئ" + vowel)) << vowel;
  }
  for (const auto& [typed, text] : tables.punctuation) {
    EXPECT_FALSE(tables.map.contains(typed)) << typed;
    EXPECT_EQ(codePointCount(text), 1u) << typed;
  }
}

TEST(ShippedKeyMap, LoadsThroughTheInputMethodsRules) {
  const auto file = parseKeyMap(readResource("keymap.json"));
  ASSERT_TRUE(file);
  const auto tables = shippedKeyMap();
  EXPECT_EQ(file->map.size(), tables.map.size());
  for (const auto& [typed, text] : tables.map)
    EXPECT_EQ(file->map.at(typed), text);
  const KeyMap keys(*file);
  EXPECT_EQ(keys.extras().initial, tables.initial);
  EXPECT_EQ(keys.extras().punctuation, tables.punctuation);
  EXPECT_FALSE(keys.extras().initial.empty());
  EXPECT_FALSE(keys.extras().punctuation.empty());
}

// Every `stride`th word of the shipped counts can be typed, and replaying its keys the way the
// input method does gives the word back.
void typesTheWordsOfTheShippedCounts(const std::string& keymap, std::size_t stride) {
  const auto path = resources / "dict/unigram.tsv";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no shipped counts yet";
  std::string why;
  const auto text = readWholeFile(path, &why);
  ASSERT_TRUE(text) << why;
  const auto table = parseCountFile(*text, CountFileKind::words);
  ASSERT_TRUE(table.problems.empty()) << table.problems.front().message;
  ASSERT_FALSE(table.entries.empty());

  const auto tables = parseKeyMapJson(readResource(keymap), &why);
  ASSERT_TRUE(tables) << keymap << ": " << why;
  const Typist typist(*tables);
  std::size_t failures = 0;
  for (std::size_t i = 0; i < table.entries.size(); i += stride) {
    const auto& entry = table.entries[i];
    const auto typed = typist.type(entry.key);
    if (!typed) {
      if (++failures <= 20) ADD_FAILURE() << "cannot type " << entry.key;
      continue;
    }
    // Replaying the keys the way the input method does gives the word back; with two-key
    // spellings type() has replayed them with the input method's rules itself.
    std::string replayed;
    std::size_t presses = 0;
    for (const auto& key : typed->keys) {
      presses += codePointCount(key.typed);
      if (!tables->digraphs.empty()) {
        replayed = applySpellingEdit(std::move(replayed), {key.erase, key.output});
        continue;
      }
      const auto out = typist.output(key.typed, !replayed.empty());
      ASSERT_TRUE(out) << key.typed;
      replayed += *out;
    }
    EXPECT_EQ(replayed, entry.key);
    EXPECT_EQ(typed->presses, presses);
  }
  EXPECT_EQ(failures, 0u) << "of " << table.entries.size() << " words";
}

TEST(ShippedKeyMap, TypesEveryWordOfTheShippedCounts) {
  typesTheWordsOfTheShippedCounts("keymap.json", 1);
}

// A fifth of the words (a spread over the whole list, ~50,000 words) keeps the run short.
TEST(ShippedUlyKeyMap, TypesTheWordsOfTheShippedCounts) {
  typesTheWordsOfTheShippedCounts("keymap-uly.json", 5);
}

TEST(DisplayName, IsOneLineOfUyghurWords) {
  std::string file = readResource("display-name.txt");
  while (!file.empty() && (file.back() == '\n' || file.back() == ' '))
    file.pop_back();
  EXPECT_EQ(ornav::displayName, file);
  EXPECT_EQ(std::string_view(ORNAV_DISPLAY_NAME), ornav::displayName);
  const std::string name(ornav::displayName);
  ASSERT_FALSE(name.empty());
  EXPECT_NE(name.front(), ' ');
  EXPECT_EQ(name.find("  "), std::string::npos);
  for (std::size_t at = 0; at < name.size();) {
    const auto c = decodeUtf8At(name, at);
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->codePoint == U' ' || isUyghurLetter(c->codePoint))
        << "U+" << std::hex << static_cast<std::uint32_t>(c->codePoint);
    at += c->size;
  }
}

// Code points mapped by the font's Unicode cmap subtable (formats 4 and 12).
std::set<char32_t> fontCoverage(const std::string& font, const std::vector<char32_t>& wanted) {
  const auto u16 = [&](std::size_t at) -> std::uint32_t {
    if (at + 2 > font.size()) return 0;
    return (std::uint8_t(font[at]) << 8) | std::uint8_t(font[at + 1]);
  };
  const auto u32 = [&](std::size_t at) -> std::uint32_t { return (u16(at) << 16) | u16(at + 2); };
  std::set<char32_t> covered;
  std::size_t cmap = 0;
  for (std::uint32_t i = 0, n = u16(4); i < n; ++i) {
    if (font.compare(12 + 16 * i, 4, "cmap") == 0) cmap = u32(12 + 16 * i + 8);
  }
  if (cmap == 0) return covered;
  for (std::uint32_t i = 0, n = u16(cmap + 2); i < n; ++i) {
    const std::size_t record = cmap + 4 + 8 * i;
    const std::uint32_t platform = u16(record), encoding = u16(record + 2);
    if (!(platform == 3 && (encoding == 1 || encoding == 10)) && platform != 0) continue;
    const std::size_t sub = cmap + u32(record + 4);
    for (const char32_t c : wanted) {
      if (u16(sub) == 4) {
        const std::uint32_t segs = u16(sub + 6) / 2;
        const std::size_t ends = sub + 14, starts = ends + 2 * segs + 2;
        const std::size_t deltas = starts + 2 * segs, offsets = deltas + 2 * segs;
        for (std::uint32_t s = 0; s < segs; ++s) {
          if (c > u16(ends + 2 * s) || c < u16(starts + 2 * s)) continue;
          const std::uint32_t offset = u16(offsets + 2 * s);
          std::uint32_t glyph;
          if (offset == 0) {
            glyph = (c + u16(deltas + 2 * s)) & 0xFFFF;
          } else {
            glyph = u16(offsets + 2 * s + offset + 2 * (c - u16(starts + 2 * s)));
            if (glyph != 0) glyph = (glyph + u16(deltas + 2 * s)) & 0xFFFF;
          }
          if (glyph != 0) covered.insert(c);
          break;
        }
      } else if (u16(sub) == 12) {
        for (std::uint32_t g = 0, groups = u32(sub + 12); g < groups; ++g) {
          const std::size_t group = sub + 16 + 12 * g;
          if (c >= u32(group) && c <= u32(group + 4)) covered.insert(c);
        }
      }
    }
  }
  return covered;
}

TEST(CandidateFont, CoversTheLettersAndPunctuation) {
  const std::string font = readResource("ornav.ttf");
  ASSERT_GT(font.size(), 12u);
  EXPECT_EQ(font.substr(0, 4), std::string("\0\1\0\0", 4)) << "not a TrueType font";
  std::vector<char32_t> wanted;
  for (char32_t c = 0x0600; c < 0x0700; ++c) {
    if (isUyghurLetter(c)) wanted.push_back(c);
  }
  wanted.insert(wanted.end(), {U'\u060C', U'\u061B', U'\u061F', U'\u00AB', U'\u00BB'});
  const auto covered = fontCoverage(font, wanted);
  for (const char32_t c : wanted) {
    EXPECT_TRUE(covered.contains(c)) << "U+" << std::hex << static_cast<std::uint32_t>(c);
  }
  EXPECT_THAT(readResource("OFL.txt"), ::testing::HasSubstr("SIL OPEN FONT LICENSE Version 1.1"));
}

}  // namespace
}  // namespace ornav::dict
