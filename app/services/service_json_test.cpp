#include "services/service_json.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

TEST(ServiceJson, OnlyObjectsAreAnswers) {
  EXPECT_TRUE(service_json::parseObject(R"({"ok": true})"));
  EXPECT_FALSE(service_json::parseObject(""));
  EXPECT_FALSE(service_json::parseObject("<html>502 Bad Gateway</html>"));
  EXPECT_FALSE(service_json::parseObject("[1, 2]"));
  EXPECT_FALSE(service_json::parseObject("\"text\""));
  EXPECT_FALSE(service_json::parseObject("{\"a\": 1"));
  EXPECT_FALSE(service_json::parseObject("{\"a\": \"\xC3\"}"));  // broken UTF-8
}

TEST(ServiceJson, StringsAreNeverConverted) {
  const auto object = *service_json::parseObject(
      R"({"version": "1.2", "number": 1.2, "null": null, "list": ["a"], "empty": ""})");
  EXPECT_EQ(service_json::string(object, "version"), "1.2");
  EXPECT_EQ(service_json::string(object, "empty"), "");
  EXPECT_FALSE(service_json::string(object, "number"));
  EXPECT_FALSE(service_json::string(object, "null"));
  EXPECT_FALSE(service_json::string(object, "list"));
  EXPECT_FALSE(service_json::string(object, "absent"));
  EXPECT_EQ(service_json::stringOr(object, "number", "fallback"), "fallback");
  EXPECT_EQ(service_json::stringOr(object, "version", "fallback"), "1.2");
}

TEST(ServiceJson, TrueIsTrueOrTheNumberOne) {
  const auto object = *service_json::parseObject(
      R"({"t": true, "f": false, "one": 1, "oneFloat": 1.0, "two": 2, "zero": 0,
          "minusOne": -1, "text": "true", "null": null})");
  EXPECT_TRUE(service_json::isTrue(object, "t"));
  EXPECT_TRUE(service_json::isTrue(object, "one"));
  EXPECT_TRUE(service_json::isTrue(object, "oneFloat"));
  EXPECT_FALSE(service_json::isTrue(object, "f"));
  EXPECT_FALSE(service_json::isTrue(object, "two"));
  EXPECT_FALSE(service_json::isTrue(object, "zero"));
  EXPECT_FALSE(service_json::isTrue(object, "minusOne"));
  EXPECT_FALSE(service_json::isTrue(object, "text"));
  EXPECT_FALSE(service_json::isTrue(object, "null"));
  EXPECT_FALSE(service_json::isTrue(object, "absent"));
  EXPECT_FALSE(service_json::isTrue(nlohmann::json::array(), "t"));
}

TEST(ServiceJson, NumbersAndIntegers) {
  const auto object = *service_json::parseObject(
      R"({"size": 12.5, "count": 7, "big": 18446744073709551615, "whole": 3.0,
          "string": "12.5", "bool": true, "huge": 1e300})");
  EXPECT_EQ(service_json::number(object, "size"), 12.5);
  EXPECT_EQ(service_json::number(object, "count"), 7.0);
  EXPECT_FALSE(service_json::number(object, "string"));
  EXPECT_FALSE(service_json::number(object, "bool"));
  EXPECT_EQ(service_json::integer(object, "count"), 7);
  EXPECT_EQ(service_json::integer(object, "whole"), 3);
  EXPECT_FALSE(service_json::integer(object, "size"));
  EXPECT_FALSE(service_json::integer(object, "big"));
  EXPECT_FALSE(service_json::integer(object, "huge"));
  EXPECT_FALSE(service_json::integer(object, "bool"));
}

TEST(ServiceJson, SerializeIsCompactAndSurvivesBadUtf8) {
  nlohmann::json object = {{"a", "x\xFFy"}};
  const std::string text = service_json::serialize(object);
  EXPECT_EQ(text, "{\"a\":\"x\xEF\xBF\xBDy\"}");
}

}  // namespace
}  // namespace ornav
