#include "count_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ornav::dict {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

MATCHER_P2(Entry, key, count, "") {
  return arg.key == key && arg.count == count;
}
MATCHER_P2(Problem, line, text, "") {
  return arg.line == static_cast<std::size_t>(line) && arg.message.find(text) != std::string::npos;
}

TEST(CountFileWords, AcceptsUnsortedInputAndReturnsItInByteOrder) {
  const auto table = parseCountFile("سالام\t50\nئالما\t7\nbook\t3\nا\t1\n", CountFileKind::words);
  EXPECT_THAT(table.problems, IsEmpty());
  // By bytes: ئ (U+0626) sorts before ا (U+0627), which sorts before س (U+0633).
  EXPECT_THAT(table.entries, ElementsAre(Entry("book", 3u), Entry("ئالما", 7u), Entry("ا", 1u),
                                         Entry("سالام", 50u)));
}

TEST(CountFileWords, LineEndings) {
  // CR LF lines, and a last line without LF.
  const auto table = parseCountFile("b\t2\r\na\t1", CountFileKind::words);
  EXPECT_THAT(table.problems, IsEmpty());
  EXPECT_THAT(table.entries, ElementsAre(Entry("a", 1u), Entry("b", 2u)));
  EXPECT_THAT(parseCountFile("", CountFileKind::words).entries, IsEmpty());
  EXPECT_THAT(parseCountFile("", CountFileKind::words).problems, IsEmpty());
}

TEST(CountFileWords, ReportsMalformedLinesWithTheirNumbers) {
  const auto table = parseCountFile(
      "good\t1\n"
      "notab 5\n"
      "\n"
      "three\t1\t2\n"
      "\t4\n"
      "trailing\t4\t\n",
      CountFileKind::words);
  EXPECT_THAT(table.problems,
              ElementsAre(Problem(2, "missing TAB"), Problem(3, "empty line"),
                          Problem(4, "3 TAB-separated fields"), Problem(5, "word is empty"),
                          Problem(6, "3 TAB-separated fields")));
  EXPECT_THAT(table.entries, ElementsAre(Entry("good", 1u)));
}

TEST(CountFileWords, CountsMustBePlainNumbersFromOneToTheLargest64BitValue) {
  const auto table = parseCountFile(
      "max\t18446744073709551615\n"
      "over\t18446744073709551616\n"
      "far\t99999999999999999999999\n"
      "zero\t0\n"
      "minus\t-1\n"
      "plus\t+5\n"
      "space\t 5\n"
      "letters\t12a\n"
      "empty\t\n"
      "arabic\t\u0665\n",
      CountFileKind::words);
  EXPECT_THAT(table.entries, ElementsAre(Entry("max", 18446744073709551615u)));
  EXPECT_THAT(table.problems,
              ElementsAre(Problem(2, "out of range"), Problem(3, "out of range"),
                          Problem(4, "count 0 is out of range"), Problem(5, "not a number"),
                          Problem(6, "not a number"), Problem(7, "not a number"),
                          Problem(8, "not a number"), Problem(9, "count is empty"),
                          Problem(10, "not a number")));
}

TEST(CountFileWords, RefusesWordsThatWouldCorruptKeys) {
  const auto table = parseCountFile(
      "a\x1f"
      "b\t1\n"
      "two words\t1\n"
      "bell\a\t1\n"
      "\xff\xfe\t1\n"
      "ok\t1\n",
      CountFileKind::words);
  EXPECT_THAT(table.problems,
              ElementsAre(Problem(1, "pair separator byte 0x1F"), Problem(2, "contains a space"),
                          Problem(3, "control character 0x07"), Problem(4, "not valid UTF-8")));
  EXPECT_THAT(table.entries, ElementsAre(Entry("ok", 1u)));
}

TEST(CountFileWords, RefusesDuplicatesEvenWhenFarApart) {
  const auto table = parseCountFile("b\t1\na\t2\nc\t3\nb\t4\nb\t5\n", CountFileKind::words);
  EXPECT_THAT(table.problems, ElementsAre(Problem(4, "duplicate word (first given on line 1)"),
                                          Problem(5, "duplicate word (first given on line 1)")));
  EXPECT_THAT(table.entries, ElementsAre(Entry("a", 2u), Entry("b", 1u), Entry("c", 3u)));
}

TEST(CountFilePairs, KeysJoinBothWordsWithTheSeparatorAndSortByBytes) {
  const auto table = parseCountFile("ab\tc\t2\na\tz\t1\nسالام\tدوست\t9\n", CountFileKind::pairs);
  EXPECT_THAT(table.problems, IsEmpty());
  // "a" 0x1F sorts before "ab": the separator is smaller than every letter.
  EXPECT_THAT(table.entries, ElementsAre(Entry("a\x1Fz", 1u),
                                         Entry("ab\x1F"
                                               "c",
                                               2u),
                                         Entry("سالام\x1F"
                                               "دوست",
                                               9u)));
}

TEST(CountFilePairs, ReportsMissingFieldsBadWordsAndDuplicates) {
  const auto table = parseCountFile(
      "a\tb\n"
      "a\t\t3\n"
      "\tb\t3\n"
      "a\tb\x1f\t3\n"
      "a\tb\t3\n"
      "a\tb\t4\n"
      "a\tb\t5\tx\n",
      CountFileKind::pairs);
  EXPECT_THAT(table.problems,
              ElementsAre(Problem(1, "missing TAB"), Problem(2, "second word is empty"),
                          Problem(3, "first word is empty"),
                          Problem(4, "second word contains the pair separator"),
                          Problem(6, "duplicate pair (first given on line 5)"),
                          Problem(7, "4 TAB-separated fields")));
  EXPECT_THAT(table.entries, ElementsAre(Entry("a\x1F"
                                               "b",
                                               3u)));
}

TEST(ParseCount, Bounds) {
  EXPECT_EQ(parseCount("1"), 1u);
  EXPECT_EQ(parseCount("007"), 7u);
  EXPECT_EQ(parseCount("18446744073709551615"), 18446744073709551615u);
  EXPECT_EQ(parseCount("18446744073709551616"), std::nullopt);
  EXPECT_EQ(parseCount("0"), std::nullopt);
  EXPECT_EQ(parseCount(""), std::nullopt);
}

}  // namespace
}  // namespace ornav::dict
