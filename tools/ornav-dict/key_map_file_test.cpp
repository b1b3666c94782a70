#include "key_map_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ornav::dict {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

MATCHER_P2(Press, typed, output, "") {
  return arg.typed == typed && arg.output == output;
}

TEST(ParseKeyMapJson, ReadsTheMapAndTheOptionalTables) {
  std::string why;
  const auto tables = parseKeyMapJson(
      R"({"name": 3, "map": {"a": "ا", "sh": "ش"}, "initial": {"a": "ئا"},
          "punctuation": {",": "،"}})",
      &why);
  ASSERT_TRUE(tables) << why;
  EXPECT_EQ(tables->map.size(), 2u);
  EXPECT_EQ(tables->map.at("sh"), "ش");
  EXPECT_EQ(tables->initial.at("a"), "ئا");
  EXPECT_EQ(tables->punctuation.at(","), "،");
  const auto empty = parseKeyMapJson(R"({"map": {}})", &why);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->map.empty());
}

TEST(ParseKeyMapJson, OptionalTablesOfAnotherShapeAreEmpty) {
  const auto tables =
      parseKeyMapJson(R"({"map": {"a": "ا"}, "initial": ["a"], "punctuation": {",": 1}})", nullptr);
  ASSERT_TRUE(tables);
  EXPECT_THAT(tables->initial, IsEmpty());
  EXPECT_THAT(tables->punctuation, IsEmpty());
}

TEST(ParseKeyMapJson, MalformedFilesLoadNothing) {
  const char* bad[] = {
      R"({"map": {"a": "ا", "b": 1}})",  // one value not a string spoils the whole file
      R"({"map": {"a": null}})",
      R"({"map": ["a"]})",
      R"({"other": {}})",
      R"(["map"])",
      R"({"map": {"a": "ا")",
      "",
      "\xFF",
  };
  for (const char* json : bad) {
    std::string why;
    EXPECT_FALSE(parseKeyMapJson(json, &why)) << json;
    EXPECT_FALSE(why.empty()) << json;
  }
}

TEST(Typist, UsesTheCheapestKeysAndPrefersPlainLowerCase) {
  const KeyMapTables tables{.map = {{"a", "ا"},
                                    {"A", "ا"},
                                    {"é", "ې"},
                                    {"E", "ې"},
                                    {"'", "ئ"},
                                    {"sh", "ش"},
                                    {"S", "ش"},
                                    {"l", "ل"},
                                    {"m", "م"}}};
  const Typist typist(tables);
  const auto shalam = typist.type("شالام");
  ASSERT_TRUE(shalam);
  EXPECT_THAT(shalam->keys, ElementsAre(Press("S", "ش"), Press("a", "ا"), Press("l", "ل"),
                                        Press("a", "ا"), Press("m", "م")));
  EXPECT_EQ(shalam->presses, 5u);
  const auto e = typist.type("ئې");
  ASSERT_TRUE(e);
  EXPECT_THAT(e->keys, ElementsAre(Press("'", "ئ"), Press("E", "ې")));
}

TEST(Typist, WordInitialTextsOnlyStartAWord) {
  const KeyMapTables tables{.map = {{"a", "ا"}, {"l", "ل"}, {"m", "م"}, {"'", "ئ"}},
                            .initial = {{"a", "ئا"}}};
  const Typist typist(tables);
  const auto alma = typist.type("ئالما");
  ASSERT_TRUE(alma);
  EXPECT_THAT(alma->keys,
              ElementsAre(Press("a", "ئا"), Press("l", "ل"), Press("m", "م"), Press("a", "ا")));
  EXPECT_EQ(alma->presses, 4u);
  // "a" starts a word as ئا, so a word that begins with a bare ا cannot be typed.
  EXPECT_FALSE(typist.type("ال"));
  // ئا in the middle of a word needs the hamza key.
  const auto saat = typist.type("لئا");
  ASSERT_TRUE(saat);
  EXPECT_THAT(saat->keys, ElementsAre(Press("l", "ل"), Press("'", "ئ"), Press("a", "ا")));
  EXPECT_EQ(typist.output("a", false), "ئا");
  EXPECT_EQ(typist.output("a", true), "ا");
}

TEST(Typist, PunctuationKeysNeverTypeLetters) {
  const KeyMapTables tables{.map = {{",", "ل"}, {"l", "ل"}}, .punctuation = {{",", "،"}}};
  const Typist typist(tables);
  const auto l = typist.type("ل");
  ASSERT_TRUE(l);
  EXPECT_THAT(l->keys, ElementsAre(Press("l", "ل")));
  EXPECT_EQ(typist.output(",", true), std::nullopt);
}

TEST(Typist, OutputsOfSeveralLettersAndUntypeableText) {
  const KeyMapTables tables{.map = {{"x", "لا"}, {"l", "ل"}, {"a", "ا"}, {"q", ""}}};
  const Typist typist(tables);
  const auto la = typist.type("لالا");
  ASSERT_TRUE(la);
  EXPECT_THAT(la->keys, ElementsAre(Press("x", "لا"), Press("x", "لا")));
  EXPECT_EQ(la->presses, 2u);
  EXPECT_FALSE(typist.type("لب"));
  const auto nothing = typist.type("");
  ASSERT_TRUE(nothing);
  EXPECT_EQ(nothing->presses, 0u);
  EXPECT_EQ(typist.output("x", true), "لا");
  EXPECT_EQ(typist.output("X", true), std::nullopt);
}

TEST(Typist, TwoKeySpellingsCostTwoPressesAndAreSeparatedWhenNotMeant) {
  const KeyMapTables tables{.map = {{"n", "ن"}, {"g", "گ"}, {"c", "چ"}, {"h", "ھ"}, {"'", "ئ"}},
                            .digraphs = {{"ng", "ڭ"}, {"ch", "چ"}}};
  const Typist typist(tables);
  const auto typed = typist.type("نگچڭ");
  ASSERT_TRUE(typed);
  // چ is typed as it is spelt (ch), not with the c that only starts it.
  EXPECT_THAT(typed->keys,
              ElementsAre(Press("n", "ن"), Press("'", ""), Press("g", "گ"), Press("c", "چ"),
                          Press("h", "چ"), Press("n", "ن"), Press("g", "ڭ")));
  EXPECT_EQ(typed->keys[4].erase, 1u);
  EXPECT_EQ(typed->presses, 7u);
}

TEST(SplitKeyEvents, OneEventPerCharacter) {
  EXPECT_THAT(splitKeyEvents("sEé'"), ElementsAre("s", "E", "é", "'"));
  EXPECT_THAT(splitKeyEvents("a\xFF"), ElementsAre("a", "\xFF"));
}

}  // namespace
}  // namespace ornav::dict
