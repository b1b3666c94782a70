#include "dictionary.h"

#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/text.h"
#include "utf_text.h"

namespace ornav::corpus {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

const std::map<std::string, uint64_t> kWords = {
    {"ب", 9}, {"بار", 7}, {"نى", 50}, {"ھۆججەت", 20}, {"ئاچ", 3}};
const std::map<PairKey, uint64_t> kPairs = {{{"ھۆججەت", "ئاچ"}, 3},
                                            {{"ھۆججەت", "بار"}, 1},
                                            {{"ب", "بار"}, 5},
                                            {{"نى", "ئاچ"}, 4},
                                            {{"ھۆججەت", "نى"}, 2}};

DictionaryOptions options(SuffixPolicy suffixes) {
  DictionaryOptions o;
  o.suffixes = suffixes;
  o.suffix_words = {"نى"};
  return o;
}

TEST(BuildDictionary, DropsSingleLettersAndRarePairs) {
  Dictionary d = build_dictionary(kWords, kPairs, options(SuffixPolicy::kKeep));
  EXPECT_EQ(d.words.count("ب"), 0u);
  EXPECT_EQ(d.stats.single_letters_dropped, 1u);
  EXPECT_THAT(d.pairs,
              ElementsAre(Pair(PairKey{"نى", "ئاچ"}, 4u), Pair(PairKey{"ھۆججەت", "ئاچ"}, 3u),
                          Pair(PairKey{"ھۆججەت", "نى"}, 2u)));
  DictionaryOptions keep_all = options(SuffixPolicy::kKeep);
  keep_all.drop_single_letters = false;
  keep_all.min_pair_count = 1;
  Dictionary all = build_dictionary(kWords, kPairs, keep_all);
  EXPECT_EQ(all.words, kWords);
  EXPECT_EQ(all.pairs, kPairs);
}

TEST(BuildDictionary, SuffixPolicies) {
  Dictionary demoted = build_dictionary(kWords, kPairs, options(SuffixPolicy::kDemote));
  EXPECT_EQ(demoted.words.at("نى"), 1u);
  EXPECT_THAT(demoted.pairs, ElementsAre(Pair(PairKey{"ھۆججەت", "ئاچ"}, 3u)));
  EXPECT_EQ(demoted.stats.suffixes_changed, 1u);

  Dictionary dropped = build_dictionary(kWords, kPairs, options(SuffixPolicy::kDrop));
  EXPECT_EQ(dropped.words.count("نى"), 0u);
  EXPECT_THAT(dropped.pairs, ElementsAre(Pair(PairKey{"ھۆججەت", "ئاچ"}, 3u)));
}

TEST(BuildDictionary, WordListFillsOnlyGaps) {
  DictionaryOptions o = options(SuffixPolicy::kDemote);
  o.word_list = {"بار", "يېڭى", "م", "نى"};
  o.word_list_count = 1;
  Dictionary d = build_dictionary(kWords, kPairs, o);
  EXPECT_EQ(d.words.at("بار"), 7u);  // the corpus count stays
  EXPECT_EQ(d.words.at("يېڭى"), 1u);
  EXPECT_EQ(d.words.count("م"), 0u);
  EXPECT_EQ(d.words.at("نى"), 1u);
  EXPECT_EQ(d.stats.word_list_added, 1u);
}

TEST(DictionaryFiles, AreSortedByBytesAndReadBack) {
  Dictionary d;
  d.words = {{"بى", 3}, {"ئا", 1}};
  d.pairs = {{{"بى", "ئا"}, 2}, {{"ئا", "بى"}, 5}};
  std::string uni = unigram_tsv(d);
  EXPECT_EQ(uni, "ئا\t1\nبى\t3\n");  // ئ (D8 A6) sorts before ب (D8 A8)
  std::string bi = bigram_tsv(d);
  EXPECT_EQ(bi, "ئا\tبى\t5\nبى\tئا\t2\n");
  EXPECT_EQ(parse_unigram_tsv(uni), d.words);
  EXPECT_EQ(parse_bigram_tsv(bi), d.pairs);
  EXPECT_THAT(unigram_tsv(Dictionary{}), IsEmpty());
}

TEST(DictionaryFiles, BigramOrderIsTheMapKeyOrder) {
  // Ordering by (first, second) and by "first 0x1F second" differ when one first word is a
  // prefix of another that continues with a byte below 0x1F; the file follows the key bytes.
  Dictionary d;
  d.pairs = {{{"a", "z"}, 1}, {{"a\x01", "b"}, 1}, {{"ab", "c"}, 1}};
  EXPECT_EQ(bigram_tsv(d), "a\x01\tb\t1\na\tz\t1\nab\tc\t1\n");
}

TEST(DictionaryFiles, MalformedLinesAreSkipped) {
  EXPECT_THAT(parse_unigram_tsv("a\t1\nb\n\tc\t2\nd\tx\ne\t3\r\nf\t1\t2\n"),
              ElementsAre(Pair("a", 1u), Pair("e", 3u)));
  EXPECT_THAT(parse_bigram_tsv("a\tb\t1\na\tb\nx\t\t2\n"),
              ElementsAre(Pair(PairKey{"a", "b"}, 1u)));
}

TEST(WordList, KeepsEntriesThatAreOneGoodWord) {
  EXPECT_THAT(read_word_list("ئالما\nکىتاب\nۇلار\nبىر ئىككى\nabc\n\u200Fيېڭى\u200F\r\n"),
              ElementsAre("ئالما", "كىتاب", "يېڭى"));
}

TEST(Shaping, ScalesSeenWordsAndPairsAndSaturates) {
  DictionaryOptions o = options(SuffixPolicy::kDemote);
  o.word_scale = 1000;
  o.pair_scale = 100000;
  o.min_pair_count = 1;
  Dictionary d = build_dictionary(kWords, kPairs, o);
  EXPECT_EQ(d.words.at("بار"), 7000u);
  EXPECT_EQ(d.words.at("نى"), 1u);  // a demoted suffix stays at the bottom, unscaled
  EXPECT_EQ(d.pairs.at(PairKey("ھۆججەت", "ئاچ")), 300000u);
  EXPECT_EQ(d.pairs.at(PairKey("ھۆججەت", "بار")), 100000u);

  o.word_scale = UINT64_MAX / 2;
  EXPECT_EQ(build_dictionary(kWords, kPairs, o).words.at("بار"), UINT64_MAX);
}

TEST(Shaping, UnattestedValuesStayBelowEverySeenWord) {
  EXPECT_EQ(unattested_value(0.0, 30000, 0.1), 1u);
  EXPECT_EQ(unattested_value(1e-9, 30000, 0.1), 1u);
  EXPECT_EQ(unattested_value(0.5, 30000, 0.1), 1500u);
  // The cut-off: a form expected as often as a seen word still ranks below it.
  EXPECT_EQ(unattested_value(10.0, 30000, 0.1), 29999u);
  EXPECT_EQ(unattested_value(1e300, 30000, 0.1), 29999u);
  EXPECT_EQ(unattested_value(std::nan(""), 30000, 0.1), 1u);
  EXPECT_EQ(unattested_value(5.0, 1, 1.0), 1u);  // unscaled counts: only 1 is below every count
}

TEST(Shaping, GeneratedFormsFillOnlyGaps) {
  DictionaryOptions o = options(SuffixPolicy::kDemote);
  o.word_scale = 100;
  o.generated = {{"بارلار", 2.0}, {"بار", 50.0}, {"م", 9.0}, {"نى", 9.0}, {"ھۆججەتنى", 0.0}};
  o.generated_weight = 0.1;
  o.word_list = {"بارلار", "يېڭى"};
  Dictionary d = build_dictionary(kWords, kPairs, o);
  EXPECT_EQ(d.words.at("بار"), 700u);     // the corpus count wins
  EXPECT_EQ(d.words.at("بارلار"), 20u);   // 2 x 100 x 0.1, before the word list's 1
  EXPECT_EQ(d.words.at("ھۆججەتنى"), 1u);  // never 0: the maps hold no zero counts
  EXPECT_EQ(d.words.at("يېڭى"), 1u);
  EXPECT_EQ(d.words.count("م"), 0u);  // single letters stay out
  EXPECT_EQ(d.words.at("نى"), 1u);    // a suffix token is not raised by a form
  EXPECT_EQ(d.stats.generated_added, 2u);
  EXPECT_EQ(d.stats.word_list_added, 1u);
}

TEST(Utf8Length, CountsScalars) {
  EXPECT_EQ(codePointCount(""), 0u);
  EXPECT_EQ(codePointCount("ab"), 2u);
  EXPECT_EQ(codePointCount("ئالما"), 5u);
  EXPECT_EQ(codePointCount("\xF0\x9F\x98\x80"), 1u);
}

}  // namespace
}  // namespace ornav::corpus
