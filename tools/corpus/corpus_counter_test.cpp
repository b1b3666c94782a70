#include "corpus_counter.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "normalize.h"

namespace ornav::corpus {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;
using Outcome = CorpusCounter::Outcome;

// Fixed values: the held-out share of a refresh must not move when the code is rebuilt.
TEST(StableHash, IsFnv1a64WithTheMurmurFinaliser) {
  EXPECT_EQ(stable_hash(""), 0xefd01f60ba992926ull);
  EXPECT_EQ(stable_hash("a"), 0x82a2a958a9bece5bull);
  EXPECT_EQ(stable_hash("foobar"), 0x2c22194922d1672bull);
}

TEST(CorpusCounter, EachDistinctStringCountsOnce) {
  CorpusCounter counter(0);
  EXPECT_EQ(counter.add("ھۆججەت ئاچ", "a"), Outcome::kCounted);
  EXPECT_EQ(counter.add("ھۆججەت ئاچ", "b"), Outcome::kDuplicate);
  // The same text behind different markup, accelerators or spacing is the same string.
  EXPECT_EQ(counter.add("<b>ھۆججەت</b>  _ئاچ", "b"), Outcome::kDuplicate);
  EXPECT_EQ(counter.add("ھۆججەت\u200Fئاچ", "b"), Outcome::kCounted);  // no space: one word
  EXPECT_EQ(counter.add("Open file", "b"), Outcome::kNoWords);
  EXPECT_EQ(counter.add("", "b"), Outcome::kNoWords);

  EXPECT_THAT(counter.words(),
              ElementsAre(Pair("ئاچ", 1u), Pair("ھۆججەت", 1u), Pair("ھۆججەتئاچ", 1u)));
  EXPECT_EQ(counter.totals().strings_seen, 4u);
  EXPECT_EQ(counter.totals().distinct_strings, 2u);
  EXPECT_EQ(counter.totals().tokens, 3u);
  EXPECT_EQ(counter.sources().at("a").counted, 1u);
  EXPECT_EQ(counter.sources().at("b").strings, 3u);
  EXPECT_EQ(counter.sources().at("b").counted, 1u);
  EXPECT_EQ(counter.sources().at("b").tokens, 1u);
}

TEST(CorpusCounter, PairsOnlyBetweenNeighboursOfOneRun) {
  CorpusCounter counter(0);
  counter.add("بىر ئىككى ئۈچ، تۆت %s بەش\nئالتە يەتتە", "p");
  counter.add("بىر ئىككى", "p");
  EXPECT_THAT(counter.pairs(),
              ElementsAre(Pair(PairKey{"ئالتە", "يەتتە"}, 1u), Pair(PairKey{"ئىككى", "ئۈچ"}, 1u),
                          Pair(PairKey{"بىر", "ئىككى"}, 2u)));
  EXPECT_EQ(counter.words().at("بىر"), 2u);
  EXPECT_EQ(counter.run_starts().at("بىر"), 2u);
  EXPECT_EQ(counter.run_starts().at("بەش"), 1u);
  EXPECT_EQ(counter.run_starts().count("ئىككى"), 0u);
}

TEST(CorpusCounter, RejectedRunsAreTalliedNotCounted) {
  CorpusCounter counter(0);
  counter.add("ۇلار بار مەسئل يوق", "p");
  EXPECT_THAT(counter.words(), ElementsAre(Pair("بار", 1u), Pair("يوق", 1u)));
  EXPECT_THAT(counter.pairs(), IsEmpty());
  EXPECT_EQ(counter.totals().rejected_bare_vowel, 1u);
  EXPECT_EQ(counter.totals().rejected_hamza, 1u);
}

TEST(CorpusCounter, HeldOutStringsAreKeptApartAndNotCounted) {
  CorpusCounter all_held(1);
  EXPECT_EQ(all_held.add("<b>بىر</b> ئىككى", "p"), Outcome::kHeldOut);
  EXPECT_EQ(all_held.add("بىر ئىككى", "q"), Outcome::kDuplicate);
  EXPECT_THAT(all_held.held_out(), ElementsAre("بىر ئىككى"));
  EXPECT_THAT(all_held.words(), IsEmpty());
  EXPECT_EQ(all_held.totals().held_out_tokens, 2u);

  // The choice depends on the text alone, so it is the same whatever the order of input.
  CorpusCounter a(20), b(20);
  std::vector<std::string> texts;
  for (int i = 0; i < 200; ++i)
    texts.push_back("بىر " + std::to_string(i) + " ئىككى");
  for (const auto& t : texts)
    a.add(t, "p");
  for (auto it = texts.rbegin(); it != texts.rend(); ++it)
    b.add(*it, "p");
  std::vector<std::string> ha = a.held_out(), hb = b.held_out();
  std::sort(ha.begin(), ha.end());
  std::sort(hb.begin(), hb.end());
  EXPECT_EQ(ha, hb);
  EXPECT_GT(ha.size(), 0u);
  EXPECT_LT(ha.size(), 40u);
}

TEST(CorpusCounter, DevelopmentStringsAreASecondShareKeptApart) {
  std::vector<std::string> texts;
  for (int i = 0; i < 400; ++i)
    texts.push_back("بىر " + std::to_string(i) + " ئىككى");
  CorpusCounter split(20, true), plain(20, false);
  size_t counted = 0;
  for (const auto& t : texts) {
    const Outcome o = split.add(t, "p");
    const Outcome p = plain.add(t, "p");
    // The held-out share never moves when a development split is asked for.
    EXPECT_EQ(o == Outcome::kHeldOut, p == Outcome::kHeldOut) << t;
    if (o == Outcome::kDevelopment) {
      EXPECT_EQ(stable_hash(normalize_text(t)) % 20, 1u) << t;
    }
    if (o == Outcome::kCounted) ++counted;
  }
  EXPECT_GT(split.development().size(), 0u);
  EXPECT_LT(split.development().size(), 60u);
  EXPECT_EQ(split.totals().development_strings, split.development().size());
  EXPECT_EQ(split.totals().development_tokens, 2 * split.development().size());
  // Development text is not counted; without the split the same strings are.
  EXPECT_EQ(split.words().at("بىر"), counted);
  EXPECT_EQ(plain.words().at("بىر"), counted + split.development().size());
  for (const auto& d : split.development()) {
    EXPECT_EQ(std::count(split.held_out().begin(), split.held_out().end(), d), 0);
  }
  EXPECT_EQ(split.add(split.development().front(), "q"), Outcome::kDuplicate);
}

}  // namespace
}  // namespace ornav::corpus
