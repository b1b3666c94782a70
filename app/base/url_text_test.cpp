#include "base/url_text.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

TEST(UrlText, UsableEndpointNeedsHttpSchemeAndHost) {
  EXPECT_TRUE(url_text::isUsableEndpoint("https://h.example/api/x?a=b"));
  EXPECT_TRUE(url_text::isUsableEndpoint("http://127.0.0.1:1234/api"));
  EXPECT_FALSE(url_text::isUsableEndpoint(""));
  EXPECT_FALSE(url_text::isUsableEndpoint("api/ornav-ime/about"));
  EXPECT_FALSE(url_text::isUsableEndpoint("https:///api"));
  EXPECT_FALSE(url_text::isUsableEndpoint("https://:80/api"));
  EXPECT_FALSE(url_text::isUsableEndpoint("ftp://h.example/x"));
  EXPECT_FALSE(url_text::isUsableEndpoint("https://h example/x"));
  EXPECT_FALSE(url_text::isUsableEndpoint("https://h.example/%zz"));
  EXPECT_FALSE(url_text::isUsableEndpoint("https://h.example/%4"));
}

TEST(UrlText, JoinPutsOneSlashBetweenBaseAndPath) {
  EXPECT_EQ(url_text::join("https://h/", "api/x"), "https://h/api/x");
  EXPECT_EQ(url_text::join("https://h", "api/x"), "https://h/api/x");
  EXPECT_EQ(url_text::join("https://h/", "//api/x"), "https://h/api/x");
  EXPECT_EQ(url_text::join("", "api/x"), "api/x");
}

}  // namespace
}  // namespace ornav
