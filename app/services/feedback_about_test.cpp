#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/linux/testing/service_test_support.h"
#include "services/about.h"
#include "services/feedback.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

using service_testing::ServiceTest;
using Ops = UpdateServiceOperations;
using MaybeAbout = std::optional<AboutContent>;
constexpr const char* kFeedback = "/api/ornav-ime/feedback";
constexpr const char* kAbout = "/api/ornav-ime/about";

class FeedbackTest : public ServiceTest {
 protected:
  FeedbackResult submit(const std::string& message, const std::string& contact = "") {
    return await<FeedbackResult>(
        [&](auto done) { Ops::submitFeedback(message, contact, std::move(done)); });
  }
};

TEST_F(FeedbackTest, SendsTheTrimmedTextsWithFactsAboutTheInstallation) {
  server_->reply("POST", kFeedback, testing::ServerReply::json(R"({"ok":true})"));
  settings_->setString("Ornavel.lastClientApp", "com.apple.TextEdit");
  clock_.setSecondsSince1970(1796534767.9);  // 2026-12-06T05:26:07.9Z
  EXPECT_EQ(submit("\n  候选词不对  \r\n", " \u3000 "),
            FeedbackResult::success("反馈已提交，感谢你的帮助。"));

  ASSERT_EQ(server_->requests().size(), 1u);
  const auto request = server_->requests().front();
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.header("Content-Type"), "application/json");
  nlohmann::json body = nlohmann::json::parse(request.body);
  EXPECT_EQ(body, nlohmann::json({{"message", "候选词不对"},
                                  {"contact", ""},
                                  {"version", "2.0"},
                                  {"device", UpdateService::deviceID()},
                                  {"host", "com.apple.TextEdit"},
                                  {"os", "14.5.0"},
                                  {"time", "2026-12-06T05:26:07Z"}}));
}

TEST_F(FeedbackTest, BlankMessageFailsAtOnceWithoutARequest) {
  EXPECT_EQ(submit(" \n\t\u2028 ", "me@example.org"), FeedbackResult::failure("请先输入反馈内容"));
  EXPECT_TRUE(server_->requests().empty());
}

TEST_F(FeedbackTest, AnswersAndTheirTexts) {
  struct Case {
    std::string body;
    FeedbackResult expected;
  };
  const std::vector<Case> cases = {
      {R"({"ok":true,"message":"谢谢"})", FeedbackResult::success("谢谢")},
      {R"({"ok":1})", FeedbackResult::success("反馈已提交，感谢你的帮助。")},
      {R"({"ok":true,"message":5})", FeedbackResult::success("反馈已提交，感谢你的帮助。")},
      {R"({"ok":false,"message":"太频繁了"})", FeedbackResult::failure("太频繁了")},
      {R"({})", FeedbackResult::failure("提交失败，请稍后重试")},
      {R"({"ok":"true"})", FeedbackResult::failure("提交失败，请稍后重试")},
      {"<html><body>502 Bad Gateway</body></html>",
       FeedbackResult::failure("反馈服务返回格式错误")},
      {"[]", FeedbackResult::failure("反馈服务返回格式错误")},
      {"", FeedbackResult::failure("反馈服务返回格式错误")},
  };
  for (const auto& [body, expected] : cases) {
    server_->reply("POST", kFeedback, testing::ServerReply::json(body, 500));
    EXPECT_EQ(submit("hi"), expected) << body;
  }
  EXPECT_TRUE(logMessages().empty());
}

TEST_F(FeedbackTest, UnconfiguredEndpoint) {
  pointServiceAt("");
  EXPECT_EQ(submit("hi"), FeedbackResult::failure("反馈服务尚未配置"));
  EXPECT_TRUE(server_->requests().empty());
}

TEST_F(FeedbackTest, TransportErrorIsLoggedAndShown) {
  pointServiceAt(service_testing::deadBaseURL());
  FeedbackResult result = submit("hi");
  ASSERT_EQ(result.kind, FeedbackResult::Kind::failure);
  EXPECT_FALSE(result.message.empty());
  EXPECT_TRUE(logged("提交反馈失败：" + result.message));
}

TEST_F(FeedbackTest, TimeOutIsATransportError) {
  setServiceTimeout(0.5);
  server_->hang("POST", kFeedback);
  FeedbackResult result = submit("hi");
  ASSERT_EQ(result.kind, FeedbackResult::Kind::failure);
  EXPECT_TRUE(logged("提交反馈失败：" + result.message));
}

TEST(FeedbackTimeTest, Iso8601InUtcWithSeconds) {
  EXPECT_EQ(feedback::iso8601UTC(0), "1970-01-01T00:00:00Z");
  EXPECT_EQ(feedback::iso8601UTC(1796534767.999), "2026-12-06T05:26:07Z");
}

class AboutTest : public ServiceTest {
 protected:
  MaybeAbout fetch() {
    return await<MaybeAbout>([](auto done) { Ops::fetchAboutContent(std::move(done)); });
  }
};

TEST_F(AboutTest, BuiltInTexts) {
  const AboutContent& about = Ops::defaultAbout();
  EXPECT_EQ(about.title, "Tolvex输入法");
  EXPECT_EQ(about.description, "基于 InputMethodKit 的 Tolvex输入法（" +
                                   std::string(about::uyghurDisplayName()) +
                                   "），\n支持联想输入与上下文预测。");
  EXPECT_FALSE(about::uyghurDisplayName().empty());
  EXPECT_FALSE(about.copyright.empty());
}

TEST_F(AboutTest, MissingOrNonStringMembersKeepTheBuiltInTexts) {
  server_->reply("GET", kAbout, testing::ServerReply::json(R"({"title":"T"})"));
  EXPECT_EQ(fetch(),
            (AboutContent{"T", Ops::defaultAbout().description, Ops::defaultAbout().copyright}));
  server_->reply("GET", kAbout,
                 testing::ServerReply::json(
                     R"({"title":"T","description":"D","copyright":2026,"more":1})", 404));
  EXPECT_EQ(fetch(), (AboutContent{"T", "D", Ops::defaultAbout().copyright}));
  ASSERT_FALSE(server_->requests().empty());
  EXPECT_EQ(server_->requests().back().method, "GET");
}

TEST_F(AboutTest, FailuresGiveNothingQuietly) {
  server_->reply("GET", kAbout, testing::ServerReply::json("<html>down</html>"));
  EXPECT_EQ(fetch(), std::nullopt);
  pointServiceAt(service_testing::deadBaseURL());
  EXPECT_EQ(fetch(), std::nullopt);
  pointServiceAt("");
  EXPECT_EQ(fetch(), std::nullopt);
  EXPECT_TRUE(logMessages().empty());
}

}  // namespace
}  // namespace ornav
