#include "tokenize.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "normalize.h"

namespace ornav::corpus {
namespace {

using Runs = std::vector<std::vector<std::string>>;
using ::testing::ElementsAre;

Runs runs(std::string_view text) {
  return tokenize(normalize_text(text)).runs;
}

TEST(Tokenize, NeighboursAreSeparatedOnlyBySpace) {
  EXPECT_EQ(runs("بۇ ھۆججەت  ئوچۇق"), (Runs{{"بۇ", "ھۆججەت", "ئوچۇق"}}));
  EXPECT_EQ(runs("بۇ، ھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
  EXPECT_EQ(runs("بۇ. ھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
  EXPECT_EQ(runs("«بۇ» ھۆججەت؟"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
  EXPECT_EQ(runs("بۇ 3 ھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
  EXPECT_EQ(runs("بۇ٣ھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));  // Arabic-Indic digit
  EXPECT_EQ(runs("بۇ\nھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
  EXPECT_EQ(runs("بۇ-ھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
}

TEST(Tokenize, LatinTextAndPlaceholdersSeparate) {
  EXPECT_EQ(runs("بۇ file ھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
  EXPECT_EQ(runs("Firefox نىڭ تەڭشىكى"), (Runs{{"نىڭ", "تەڭشىكى"}}));
  EXPECT_EQ(runs("Qtنىڭ"), (Runs{{"نىڭ"}}));  // a suffix glued to a Latin name stays
  EXPECT_EQ(runs("%s نى ئۆچۈرەمسىز؟"), (Runs{{"نى", "ئۆچۈرەمسىز"}}));
  EXPECT_EQ(runs("بىر %d ئىككى"), (Runs{{"بىر"}, {"ئىككى"}}));
  EXPECT_EQ(runs("<b>ھۆججەت</b> ئاچ"), (Runs{{"ھۆججەت", "ئاچ"}}));
  EXPECT_TRUE(runs("Open %s").empty());
}

TEST(Tokenize, HardNormalisationCasesMakeOneWord) {
  EXPECT_EQ(runs("\uFE8B\uFE8E\uFEDF\uFEE4\uFE8E"), (Runs{{"ئالما"}}));
  EXPECT_EQ(runs("\u200Fکىـتاب\u200C"), (Runs{{"كىتاب"}}));
  EXPECT_EQ(runs("ئې_چىش"), (Runs{{"ئېچىش"}}));
}

TEST(Tokenize, BareVowelAtTheStartIsRejected) {
  TokenizedText t = tokenize(normalize_text("ۇلار ئۇلار"));
  EXPECT_EQ(t.runs, (Runs{{"ئۇلار"}}));
  EXPECT_EQ(t.rejected_bare_vowel, 1u);
  for (const char* bad : {"الما", "ەمەس", "ولار", "ۆي", "ۈچ", "ېيتىش", "ىش"}) {
    EXPECT_TRUE(runs(bad).empty()) << bad;
  }
}

TEST(Tokenize, HamzaMustBeFollowedByAVowel) {
  EXPECT_EQ(runs("سائەت مەسئۇل"), (Runs{{"سائەت", "مەسئۇل"}}));
  TokenizedText t = tokenize(normalize_text("مەسئل سائ ئ"));
  EXPECT_TRUE(t.runs.empty());
  EXPECT_EQ(t.rejected_hamza, 3u);
}

TEST(Tokenize, RejectedFragmentSeparatesItsNeighbours) {
  EXPECT_EQ(runs("بۇ ۇلار ھۆججەت"), (Runs{{"بۇ"}, {"ھۆججەت"}}));
}

TEST(Tokenize, RunGluedToAForeignArabicLetterIsAFragment) {
  TokenizedText t = tokenize(normalize_text("كىتابة بار"));  // teh marbuta is not Uyghur
  EXPECT_EQ(t.runs, (Runs{{"بار"}}));
  EXPECT_EQ(t.rejected_foreign, 1u);
  EXPECT_EQ(runs("ۋەھ"), (Runs{{"ۋەھ"}}));    // ھ is a letter of the alphabet
  EXPECT_EQ(runs("سۆز ه"), (Runs{{"سۆز"}}));  // Arabic heh alone is no word
}

TEST(Tokenize, AlphabetAndVowels) {
  std::u32string letters = U"اەبپتجچخدرزژسشغفقكگڭلمنھوۇۆۈۋېىي";
  EXPECT_EQ(letters.size(), 32u);
  for (char32_t c : letters)
    EXPECT_TRUE(is_uyghur_letter(c)) << static_cast<uint32_t>(c);
  EXPECT_TRUE(is_uyghur_letter(U'ئ'));
  for (char32_t c : {U'ک', U'ه', U'ی', U'ة', U'ع', U'a', U'1', U'ـ'}) {
    EXPECT_FALSE(is_uyghur_letter(c)) << static_cast<uint32_t>(c);
  }
  int vowels = 0;
  for (char32_t c : letters)
    vowels += is_uyghur_vowel(c);
  EXPECT_EQ(vowels, 8);
}

TEST(Tokenize, InvalidAndOddInputIsSafe) {
  EXPECT_TRUE(tokenize("").runs.empty());
  EXPECT_TRUE(tokenize("\xFF\xFE").runs.empty());
  EXPECT_EQ(tokenize("بۇ\xFFبار").runs, (Runs{{"بۇ"}, {"بار"}}));
}

}  // namespace
}  // namespace ornav::corpus
