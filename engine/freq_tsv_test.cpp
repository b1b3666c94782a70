#include "freq_tsv.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

FreqTable table(std::initializer_list<std::pair<const std::string, std::uint64_t>> entries) {
  return FreqTable(entries.begin(), entries.end());
}

TEST(FreqTsvCount, AcceptsPlainAndSignedDecimals) {
  EXPECT_EQ(parse_count("0"), 0u);
  EXPECT_EQ(parse_count("42"), 42u);
  EXPECT_EQ(parse_count("+7"), 7u);
  EXPECT_EQ(parse_count("007"), 7u);
  EXPECT_EQ(parse_count("18446744073709551615"), 18446744073709551615u);
  EXPECT_EQ(parse_count("000000000000018446744073709551615"), 18446744073709551615u);
}

TEST(FreqTsvCount, RejectsEverythingElse) {
  for (const char* bad : {"", " ", "+", "-", "-1", "++1", "+-1", "1 2", "1\t2", "1.5", "0x10",
                          "1e3", "18446744073709551616", "99999999999999999999", "abc"}) {
    EXPECT_FALSE(parse_count(bad).has_value()) << bad;
  }
  EXPECT_FALSE(parse_count("\xD9\xA1").has_value());      // ARABIC-INDIC DIGIT ONE is not ASCII
  EXPECT_FALSE(parse_count("\xEF\xBC\x91").has_value());  // FULLWIDTH DIGIT ONE
}

TEST(FreqTsvCount, TrimsTheWholeWhiteSpaceSet) {
  const char* spaces[] = {"\t",           "\n",           "\v",
                          "\f",           "\r",           " ",
                          "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80",
                          "\xE2\x80\x80", "\xE2\x80\x8A", "\xE2\x80\xA8",
                          "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F",
                          "\xE3\x80\x80"};
  for (const char* space : spaces) {
    const std::string field = std::string(space) + "12" + space + space;
    EXPECT_EQ(parse_count(field), 12u) << field;
  }
  // Not White_Space: ZERO WIDTH SPACE and the byte order mark stay and spoil the number.
  EXPECT_FALSE(parse_count("\xE2\x80\x8B"
                           "1")
                   .has_value());
  EXPECT_FALSE(parse_count("\xEF\xBB\xBF"
                           "1")
                   .has_value());
  EXPECT_FALSE(parse_count("+ 1").has_value());  // the sign must touch the digits
}

TEST(FreqTsvRead, SplitsLinesAndFields) {
  const FreqTable got = parse_freq_tsv(
      "alma\t3\n"
      "two words\t5\r\n"  // the word keeps its space; CR LF ends the line
      "\tlost\n"          // empty word
      "notab\n"
      "  padded \t +9 \r\n"  // the word is not trimmed, the count is
      "third\t1\t2\n"        // a further field
      "trailing\t4\t\n"      // a TAB at the end is white space
      "minus\t-1\n"
      "sign\t+\n"
      "big\t18446744073709551616\n"
      "\n"
      "last\t8");  // no LF at the end
  EXPECT_EQ(got,
            table({{"alma", 3}, {"two words", 5}, {"  padded ", 9}, {"trailing", 4}, {"last", 8}}));
}

TEST(FreqTsvRead, LaterDuplicateWinsAndFirstTabSplits) {
  EXPECT_EQ(parse_freq_tsv("a\t1\nb\t2\na\t3\n"), table({{"a", 3}, {"b", 2}}));
  // An ignored later line does not undo an accepted earlier one.
  EXPECT_EQ(parse_freq_tsv("a\t1\na\tx\n"), table({{"a", 1}}));
  EXPECT_EQ(parse_freq_tsv("a b\tc\t1\n"), table({}));
}

TEST(FreqTsvRead, CarriageReturnsOutsideLineEndsAreKept) {
  // Only a CR right before the LF is dropped; inside the word it is part of it.
  EXPECT_EQ(parse_freq_tsv("a\rb\t1\n"), table({{"a\rb", 1}}));
  EXPECT_EQ(parse_freq_tsv("\r\n\r\n"), table({}));
}

TEST(FreqTsvRead, InvalidUtf8AnywhereEmptiesTheTable) {
  EXPECT_TRUE(parse_freq_tsv("good\t1\nbad\xFF\t2\n").empty());
  EXPECT_TRUE(parse_freq_tsv("good\t1\n# \xC0\x80\n").empty());
  EXPECT_TRUE(parse_freq_tsv("").empty());
}

TEST(FreqTsvWrite, OneSortedLinePerWord) {
  EXPECT_EQ(format_freq_tsv(table({})), "");
  EXPECT_EQ(format_freq_tsv(table({{"b", 0}, {"a b", 18446744073709551615u}, {"\xD8\xA7", 12}})),
            "a b\t18446744073709551615\nb\t0\n\xD8\xA7\t12\n");
}

TEST(FreqTsvWrite, NeverWritesWordsThatCannotRoundTrip) {
  EXPECT_FALSE(is_writable_word(""));
  EXPECT_FALSE(is_writable_word("a\tb"));
  EXPECT_FALSE(is_writable_word("a\nb"));
  EXPECT_FALSE(is_writable_word("a\r"));
  EXPECT_TRUE(is_writable_word("a b"));
  EXPECT_EQ(format_freq_tsv(table({{"a\tb", 1}, {"ok", 2}, {"x\n", 3}, {"\r", 4}})), "ok\t2\n");
}

TEST(FreqTsvWrite, WrittenTextReadsBackUnchanged) {
  const FreqTable original = table({{"alma", 1},
                                    {" spaced ", 2},
                                    {"\xD9\x85\xDB\x95\xD9\x86", 3},
                                    {"max", 18446744073709551615u},
                                    {std::string("n\0l", 3), 4}});
  EXPECT_EQ(parse_freq_tsv(format_freq_tsv(original)), original);
}

}  // namespace
}  // namespace ornav
