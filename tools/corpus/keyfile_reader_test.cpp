#include "keyfile_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ornav::corpus {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(LocaleTag, MatchesTheLanguageAndItsVariantsOnly) {
  for (const char* tag : {"ug", "ug_CN", "ug-CN", "ug@Arab", "ug.UTF-8"}) {
    EXPECT_TRUE(is_locale_tag(tag, "ug")) << tag;
  }
  for (const char* tag : {"uk", "u", "ugx", "", "UG", "en_ug"}) {
    EXPECT_FALSE(is_locale_tag(tag, "ug")) << tag;
  }
}

TEST(KeyfileReader, ReadsLocalisedValues) {
  const char* desktop =
      "[Desktop Entry]\n"
      "Name=Files\n"
      "Name[uk]=Файли\n"
      "Name[ug]=ھۆججەتلەر\n"
      "GenericName[ug_CN] = ھۆججەت باشقۇرغۇ \r\n"
      "Comment[ug]=بىرىنچى\\nئىككىنچى\\sئۈچىنچى\\\\\n"
      "Keywords[ug]=ھۆججەت;قىسقۇچ;\n"
      "Icon[ug]=\n"
      "broken line without equals [ug]\n"
      "X[ug";
  EXPECT_THAT(
      read_keyfile_values(desktop, "ug"),
      ElementsAre("ھۆججەتلەر", "ھۆججەت باشقۇرغۇ", "بىرىنچى\nئىككىنچى ئۈچىنچى\\", "ھۆججەت;قىسقۇچ;"));
  EXPECT_THAT(read_keyfile_values("", "ug"), IsEmpty());
}

TEST(JsonReader, ReadsLocalisedMembersWithEscapes) {
  const char* json = R"({
    "KPlugin": {
      "Name": "Printers",
      "Name[ug]": "پرىنتېرلار",
      "Description[ug]" : "\u0628\u06c7 \"x\"",
      "Name[uk]": "Принтери",
      "Emoji[ug]": "\ud83d\ude00",
      "Lone[ug]": "\ud800",
      "Count[ug]": 3
    }
  })";
  EXPECT_THAT(read_json_values(json, "ug"),
              ElementsAre("پرىنتېرلار", "بۇ \"x\"", "\xF0\x9F\x98\x80", "\uFFFD"));
}

TEST(JsonReader, MalformedTextIsSkippedSafely) {
  EXPECT_THAT(read_json_values(R"("Name[ug]": "unterminated)", "ug"), IsEmpty());
  EXPECT_THAT(read_json_values(R"("Name[ug]": "\q")", "ug"), IsEmpty());
  EXPECT_THAT(read_json_values(R"("Name[ug]": "\u12")", "ug"), IsEmpty());
  EXPECT_THAT(read_json_values(R"("Name[ug]")", "ug"), IsEmpty());
  EXPECT_THAT(read_json_values("\"", "ug"), IsEmpty());
  EXPECT_THAT(read_json_values(R"("A[ug]": "\\", "B[ug]": "بار")", "ug"), ElementsAre("\\", "بار"));
}

}  // namespace
}  // namespace ornav::corpus
