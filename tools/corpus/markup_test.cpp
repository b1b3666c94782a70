#include "markup.h"

#include <string>

#include <gtest/gtest.h>

namespace ornav::corpus {
namespace {

const std::string B(kBreak);

TEST(StripMarkup, PlaceholdersBecomeBreaks) {
  EXPECT_EQ(strip_markup("%s نى"), B + " نى");
  EXPECT_EQ(strip_markup("%1$d ھۆججەت"), B + " ھۆججەت");
  EXPECT_EQ(strip_markup("%(name)s دا"), B + " دا");
  EXPECT_EQ(strip_markup("%-5.2f%%"), B + B);
  EXPECT_EQ(strip_markup("%lld %zu %I64d"), B + " " + B + " " + B);
  EXPECT_EQ(strip_markup("%1 ۋە %2"), B + " ۋە " + B);  // Qt
  EXPECT_EQ(strip_markup("%L1 بايت"), B + " بايت");     // KDE localised number
  EXPECT_EQ(strip_markup("{name} {0} ${HOME}"), B + " " + B + " " + B);
}

TEST(StripMarkup, LiteralSymbolsStay) {
  EXPECT_EQ(strip_markup("100%"), "100%");
  EXPECT_EQ(strip_markup("a < b > c"), "a < b > c");
  EXPECT_EQ(strip_markup("{not a variable!}"), "{not a variable!}");
  EXPECT_EQ(strip_markup("A && B"), "A && B");
}

TEST(StripMarkup, TagsAndEntities) {
  EXPECT_EQ(strip_markup("<b>ھۆججەت</b> ئاچ"), " ھۆججەت  ئاچ");   // inline: neighbours stay
  EXPECT_EQ(strip_markup("بىر<br/>ئىككى"), "بىر" + B + "ئىككى");  // a line ends
  EXPECT_EQ(strip_markup("<p>بىر</p><p>ئىككى</p>"), B + "بىر" + B + B + "ئىككى" + B);
  EXPECT_EQ(strip_markup("<a href=\"x.html\">ئۇلىنىش</a>"), " ئۇلىنىش ");
  EXPECT_EQ(strip_markup("بىر&amp;ئىككى"), "بىر" + B + "ئىككى");
  EXPECT_EQ(strip_markup("بىر&nbsp;ئىككى"), "بىر ئىككى");
  EXPECT_EQ(strip_markup("&#1574;&#x626;"), B + B);
}

TEST(StripMarkup, AcceleratorsVanishInsideWords) {
  EXPECT_EQ(strip_markup("_Open"), "Open");
  EXPECT_EQ(strip_markup("ئې_چىش"), "ئېچىش");
  EXPECT_EQ(strip_markup("&Save"), "Save");
  EXPECT_EQ(strip_markup("ساق&لاش"), "ساقلاش");
  EXPECT_EQ(strip_markup("ئېچىش(_O)"), "ئېچىش(O)");
  EXPECT_EQ(strip_markup("file_name"), "file_name");
}

TEST(StripMarkup, TruncatedInputIsSafe) {
  for (std::string s : {"%", "%1$", "%(abc", "<", "<b", "&", "&#", "&#x", "{", "${", "_"}) {
    EXPECT_NO_THROW(strip_markup(s)) << s;
  }
  EXPECT_EQ(strip_markup("<b"), "<b");
  EXPECT_EQ(strip_markup("&am"), "am");  // an accelerator on "a", not an entity
}

}  // namespace
}  // namespace ornav::corpus
