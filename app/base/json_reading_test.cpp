#include "base/json_reading.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

TEST(ServiceJson, OnlyObjectsAreAnswers) {
  EXPECT_TRUE(json_reading::parseObject(R"({"ok": true})"));
  EXPECT_FALSE(json_reading::parseObject(""));
  EXPECT_FALSE(json_reading::parseObject("<html>502 Bad Gateway</html>"));
  EXPECT_FALSE(json_reading::parseObject("[1, 2]"));
  EXPECT_FALSE(json_reading::parseObject("\"text\""));
  EXPECT_FALSE(json_reading::parseObject("{\"a\": 1"));
  EXPECT_FALSE(json_reading::parseObject("{\"a\": \"\xC3\"}"));  // broken UTF-8
}

TEST(ServiceJson, StringsAreNeverConverted) {
  const auto object = *json_reading::parseObject(
      R"({"version": "1.2", "number": 1.2, "null": null, "list": ["a"], "empty": ""})");
  EXPECT_EQ(json_reading::string(object, "version"), "1.2");
  EXPECT_EQ(json_reading::string(object, "empty"), "");
  EXPECT_FALSE(json_reading::string(object, "number"));
  EXPECT_FALSE(json_reading::string(object, "null"));
  EXPECT_FALSE(json_reading::string(object, "list"));
  EXPECT_FALSE(json_reading::string(object, "absent"));
  EXPECT_EQ(json_reading::stringOr(object, "number", "fallback"), "fallback");
  EXPECT_EQ(json_reading::stringOr(object, "version", "fallback"), "1.2");
}

TEST(ServiceJson, TrueIsTrueOrTheNumberOne) {
  const auto object = *json_reading::parseObject(
      R"({"t": true, "f": false, "one": 1, "oneFloat": 1.0, "two": 2, "zero": 0,
          "minusOne": -1, "text": "true", "null": null})");
  EXPECT_TRUE(json_reading::isTrue(object, "t"));
  EXPECT_TRUE(json_reading::isTrue(object, "one"));
  EXPECT_TRUE(json_reading::isTrue(object, "oneFloat"));
  EXPECT_FALSE(json_reading::isTrue(object, "f"));
  EXPECT_FALSE(json_reading::isTrue(object, "two"));
  EXPECT_FALSE(json_reading::isTrue(object, "zero"));
  EXPECT_FALSE(json_reading::isTrue(object, "minusOne"));
  EXPECT_FALSE(json_reading::isTrue(object, "text"));
  EXPECT_FALSE(json_reading::isTrue(object, "null"));
  EXPECT_FALSE(json_reading::isTrue(object, "absent"));
  EXPECT_FALSE(json_reading::isTrue(nlohmann::json::array(), "t"));
}

TEST(ServiceJson, NumbersAndIntegers) {
  const auto object = *json_reading::parseObject(
      R"({"size": 12.5, "count": 7, "big": 18446744073709551615, "whole": 3.0,
          "string": "12.5", "bool": true, "huge": 1e300})");
  EXPECT_EQ(json_reading::number(object, "size"), 12.5);
  EXPECT_EQ(json_reading::number(object, "count"), 7.0);
  EXPECT_FALSE(json_reading::number(object, "string"));
  EXPECT_FALSE(json_reading::number(object, "bool"));
  EXPECT_EQ(json_reading::integer(object, "count"), 7);
  EXPECT_EQ(json_reading::integer(object, "whole"), 3);
  EXPECT_FALSE(json_reading::integer(object, "size"));
  EXPECT_FALSE(json_reading::integer(object, "big"));
  EXPECT_FALSE(json_reading::integer(object, "huge"));
  EXPECT_FALSE(json_reading::integer(object, "bool"));
}

TEST(ServiceJson, SerializeIsCompactAndSurvivesBadUtf8) {
  nlohmann::json object = {{"a", "x\xFFy"}};
  const std::string text = json_reading::serialize(object);
  EXPECT_EQ(text, "{\"a\":\"x\xEF\xBF\xBDy\"}");
}

}  // namespace
}  // namespace ornav
