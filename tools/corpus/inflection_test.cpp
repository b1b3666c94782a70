#include "inflection.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "utf_text.h"

namespace ornav::corpus {
namespace {

using ::testing::Contains;
using ::testing::DoubleEq;
using ::testing::Key;
using ::testing::Not;

Harmony harmony(std::string_view word) {
  return vowel_harmony(utf32_from_utf8(word));
}

TEST(VowelHarmony, LastBackOrFrontVowelDecidesThenTheConsonants) {
  EXPECT_EQ(harmony("كىتاب"), Harmony::kBack);
  EXPECT_EQ(harmony("يول"), Harmony::kBack);
  EXPECT_EQ(harmony("دەپتەر"), Harmony::kFront);
  EXPECT_EQ(harmony("ئۆي"), Harmony::kFront);
  EXPECT_EQ(harmony("ئاۋۇتۆي"), Harmony::kFront);  // the last one counts
  EXPECT_EQ(harmony("قىز"), Harmony::kBack);       // only ى: ق makes it back
  EXPECT_EQ(harmony("كىشى"), Harmony::kFront);     // ك makes it front
  EXPECT_EQ(harmony("بىر"), Harmony::kNeutral);
  EXPECT_EQ(harmony(""), Harmony::kNeutral);
}

// Back and front stems ending in ل with their plurals and accusatives, and a sound change at the
// joint (ك becomes گ before a vowel) on front stems ending in ۈ.
const std::map<std::string, uint64_t> kFamilies = {
    {"يول", 10},   {"يوللار", 4},  {"يولنى", 2}, {"قول", 6},    {"قوللار", 3},
    {"پۇل", 8},    {"پۇللار", 2},  {"تال", 5},   {"كۆل", 7},    {"كۆللەر", 2},
    {"گۈل", 9},    {"گۈللەر", 1},  {"ئەل", 3},   {"ئەللەر", 1}, {"بەل", 4},
    {"تۈۋرۈك", 2}, {"تۈۋرۈگى", 1}, {"كۆتۈك", 3}, {"كۆتۈگى", 1}, {"بۆرۈك", 6},
};

InflectionOptions small(uint64_t min_support) {
  InflectionOptions o;
  o.min_stem = 2;
  o.min_support = min_support;
  return o;
}

const EndingRule* find_rule(const std::vector<EndingRule>& rules, Harmony h, char32_t last,
                            std::string_view from, std::string_view to) {
  for (const auto& r : rules) {
    if (r.harmony == h && r.last == last && r.from == utf32_from_utf8(from) &&
        r.to == utf32_from_utf8(to)) {
      return &r;
    }
  }
  return nullptr;
}

TEST(EndingRules, AreLearnedPerHarmonyClassAndLastLetter) {
  const auto rules = learn_ending_rules(kFamilies, small(3));
  const EndingRule* back = find_rule(rules, Harmony::kBack, U'\u0644', "", "لار");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->support, 3u);  // يول قول پۇل (تال has no plural)
  EXPECT_DOUBLE_EQ(back->reliability, 1.0);
  const EndingRule* front = find_rule(rules, Harmony::kFront, U'\u0644', "", "لەر");
  ASSERT_NE(front, nullptr);
  EXPECT_EQ(front->support, 3u);
  EXPECT_EQ(find_rule(rules, Harmony::kFront, U'\u0644', "", "لار"), nullptr);
  // Shown by one stem only: below the support cut-off.
  EXPECT_EQ(find_rule(rules, Harmony::kBack, U'\u0644', "", "نى"), nullptr);
}

TEST(EndingRules, SupportCutOffKeepsARuleShownByExactlyThatManyStems) {
  // ك → گى is shown by two stems.
  EXPECT_NE(
      find_rule(learn_ending_rules(kFamilies, small(2)), Harmony::kFront, U'\u06C8', "ك", "گى"),
      nullptr);
  EXPECT_EQ(
      find_rule(learn_ending_rules(kFamilies, small(3)), Harmony::kFront, U'\u06C8', "ك", "گى"),
      nullptr);
}

TEST(GeneratedForms, FollowHarmonyAndSoundChanges) {
  const auto options = small(2);
  const auto forms = generate_forms(kFamilies, learn_ending_rules(kFamilies, options), options);
  EXPECT_THAT(forms, Contains(Key("تاللار")));  // back stem: back plural
  EXPECT_THAT(forms, Not(Contains(Key("تاللەر"))));
  EXPECT_THAT(forms, Contains(Key("بەللەر")));  // front stem: front plural
  EXPECT_THAT(forms, Not(Contains(Key("بەللار"))));
  EXPECT_THAT(forms, Contains(Key("بۆرۈگى")));  // ك → گ before the vowel
  EXPECT_THAT(forms, Not(Contains(Key("بۆرۈكى"))));
  // Corpus words are never proposed again, in any form.
  for (const auto& [word, count] : kFamilies)
    EXPECT_THAT(forms, Not(Contains(Key(word))));
}

TEST(GeneratedForms, ExpectedCountIsTheBestWordCountTimesReliability) {
  const auto options = small(2);
  const auto rules = learn_ending_rules(kFamilies, options);
  const auto forms = generate_forms(kFamilies, rules, options);
  const EndingRule* plural = find_rule(rules, Harmony::kBack, U'\u0644', "", "لار");
  ASSERT_NE(plural, nullptr);
  EXPECT_THAT(forms.at("تاللار"), DoubleEq(5.0 * plural->reliability));
  const EndingRule* soft = find_rule(rules, Harmony::kFront, U'\u06C8', "ك", "گى");
  ASSERT_NE(soft, nullptr);
  EXPECT_THAT(forms.at("بۆرۈگى"), DoubleEq(6.0 * soft->reliability));
}

TEST(GeneratedForms, LimitKeepsTheMostExpectedAndBreaksTiesByBytes) {
  auto options = small(2);
  const auto rules = learn_ending_rules(kFamilies, options);
  const auto all = generate_forms(kFamilies, rules, options);
  ASSERT_GE(all.size(), 3u);
  std::vector<std::pair<double, std::string>> ranked;
  for (const auto& [form, e] : all)
    ranked.emplace_back(-e, form);
  std::sort(ranked.begin(), ranked.end());
  options.limit = 2;
  const auto two = generate_forms(kFamilies, rules, options);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_THAT(two, Contains(Key(ranked[0].second)));
  EXPECT_THAT(two, Contains(Key(ranked[1].second)));
  options.limit = 0;
  EXPECT_TRUE(generate_forms(kFamilies, rules, options).empty());
}

TEST(GeneratedForms, WordsShorterThanAStemGiveNothing) {
  const std::map<std::string, uint64_t> tiny = {{"ئا", 3}, {"ئو", 2}};
  const auto rules = learn_ending_rules(tiny, InflectionOptions{});
  EXPECT_TRUE(rules.empty());
  EXPECT_TRUE(generate_forms(tiny, rules, InflectionOptions{}).empty());
}

}  // namespace
}  // namespace ornav::corpus
