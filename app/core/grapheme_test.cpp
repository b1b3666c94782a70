#include "core/grapheme.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

TEST(Grapheme, CountsUserPerceivedCharacters) {
  EXPECT_EQ(graphemeCount(""), 0u);
  EXPECT_EQ(graphemeCount("abc"), 3u);
  EXPECT_EQ(graphemeCount("ئالما"), 5u);
  EXPECT_EQ(graphemeCount("e\xCC\x81"), 1u);                         // e + combining acute
  EXPECT_EQ(graphemeCount("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"), 1u);  // thumbs up + skin tone
  EXPECT_EQ(graphemeCount("\r\n"), 1u);
  EXPECT_EQ(graphemeCount("a\xFF"), 2u);  // an ill-formed byte counts as one replacement
}

TEST(Grapheme, DropsTheLastCluster) {
  EXPECT_EQ(dropLastGrapheme(""), "");
  EXPECT_EQ(dropLastGrapheme("ab"), "a");
  EXPECT_EQ(dropLastGrapheme("xe\xCC\x81"), "x");
  EXPECT_EQ(dropLastGrapheme("سالام"), "سالا");
  EXPECT_EQ(dropLastGrapheme("a\r\n"), "a");
}

}  // namespace
}  // namespace ornav
