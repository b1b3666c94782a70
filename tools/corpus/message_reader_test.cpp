#include "message_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "markup.h"

namespace ornav::corpus {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

TEST(JsonStrings, EveryStringValueExceptMetadata) {
  EXPECT_THAT(read_json_strings(R"({
      "@metadata": {"authors": ["بىرى"], "message-documentation": "qqq"},
      "a": "بىر", "b": {"c": ["ئىككى", 3, null, {"@skip": "يوق", "d": "ئۈچ"}]},
      "e": "\u0626\u0627\n"})"),
              Optional(ElementsAre("بىر", "ئىككى", "ئۈچ", "ئا\n")));
  EXPECT_THAT(read_json_strings("\"ئا\""), Optional(ElementsAre("ئا")));
  EXPECT_THAT(read_json_strings("[]"), Optional(IsEmpty()));
}

TEST(JsonStrings, MalformedJsonGivesNothing) {
  EXPECT_EQ(read_json_strings(""), std::nullopt);
  EXPECT_EQ(read_json_strings(R"({"a": "بىر")"), std::nullopt);
  EXPECT_EQ(read_json_strings("{\"a\": \"\xff\"}"), std::nullopt);  // not UTF-8
  EXPECT_EQ(read_json_strings(std::string(100000, '[')), std::nullopt);
}

TEST(ScriptStrings, LiteralsWithEscapesOutsideComments) {
  EXPECT_THAT(
      read_script_strings(R"js(
      // 'not this'
      /* "nor this" */
      tinymce.addI18n("ug", {"Bold": "\u062a\u0648", 'It\'s': 'a\tb\\c\x41\u{1F600}'});
      const s = "\ud83d\ude00" + "\
continued";)js"),
      ElementsAre("ug", "Bold", "تو", "It's", "a\tb\\cA\U0001F600", "\U0001F600", "continued"));
}

TEST(ScriptStrings, AnOpenLiteralEndsTheReading) {
  EXPECT_THAT(read_script_strings("x('بىر'); y('ئىككى\n'); z('ئۈچ')"), ElementsAre("بىر"));
  EXPECT_THAT(read_script_strings("'a' \"\\u12\""), ElementsAre("a"));
  EXPECT_THAT(read_script_strings("'a' '\\u{110000000}'"), ElementsAre("a"));
  EXPECT_THAT(read_script_strings("'a' '\\"), ElementsAre("a"));
  EXPECT_THAT(read_script_strings("/* open"), IsEmpty());
  EXPECT_THAT(read_script_strings("'\\u{D800}'"), ElementsAre("\uFFFD"));
}

TEST(WikiMessageText, ChoosesFormsAndDropsMarkup) {
  const std::string brk(kBreak);
  EXPECT_EQ(wiki_message_text("$1 بەت {{PLURAL:$2|ئۆزگەرتىش|ئۆزگەرتىشلەر}} بار"),
            brk + " بەت ئۆزگەرتىش بار");
  EXPECT_EQ(wiki_message_text("{{SITENAME}} ھەققىدە"), brk + " ھەققىدە");
  EXPECT_EQ(wiki_message_text("[[Special:Login|كىرىش]] ۋە [[ياردەم]]"), "كىرىش ۋە ياردەم");
  EXPECT_EQ(wiki_message_text("[https://example.org تور بېكەت] [https://x.org]"),
            "تور بېكەت " + brk);
  EXPECT_EQ(wiki_message_text("'''قېلىن''' ۋە ''يانتۇ''"), "قېلىن ۋە يانتۇ");
  EXPECT_EQ(wiki_message_text("{{GENDER:$1|ئۇ|ئۇ}} {{PLURAL:$1|{{int:x}} بىر|ئىككى}}"),
            "ئۇ " + brk + " بىر");
  EXPECT_EQ(wiki_message_text("$12 ۋە $"), brk + " ۋە $");
}

TEST(WikiMessageText, UnclosedMarkupEndsWithABreak) {
  const std::string brk(kBreak);
  EXPECT_EQ(wiki_message_text("بىر {{PLURAL:$1|ئا"), "بىر " + brk);
  EXPECT_EQ(wiki_message_text("بىر [[ئا"), "بىر " + brk);
  EXPECT_EQ(wiki_message_text("بىر [http://x ئا"), "بىر " + brk);
  EXPECT_EQ(wiki_message_text("{{PLURAL}}"), brk);
  EXPECT_EQ(wiki_message_text("{{PLURAL:$1}}"), "");
}

}  // namespace
}  // namespace ornav::corpus
