#include <gtest/gtest.h>

#include "platform/linux/testing/service_test_support.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

using service_testing::ServiceTest;
using Ops = UpdateServiceOperations;
constexpr const char* kLatest = "/api/ornav-ime/latest";

class UpdateCheckTest : public ServiceTest {
 protected:
  UpdateResult check() {
    return await<UpdateResult>([](auto done) { Ops::checkForUpdates(std::move(done)); });
  }
};

TEST_F(UpdateCheckTest, SendsAFreshGetWithoutCaching) {
  server_->reply("GET", kLatest, testing::ServerReply::json(R"({"version":"2.0"})"));
  check();
  ASSERT_EQ(server_->requests().size(), 1u);
  const auto request = server_->requests().front();
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.target, "/api/ornav-ime/latest?platform=mac");
  EXPECT_EQ(request.header("Cache-Control"), "no-cache");
  EXPECT_EQ(request.header("Pragma"), "no-cache");
  EXPECT_EQ(request.body, "");
}

TEST_F(UpdateCheckTest, SameVersionIsUpToDateAndClearsTheFlag) {
  settings_->setBool("Ornavel.updateAvailable", true);
  settings_->setString("Ornavel.latestVersion", "1.9");
  server_->reply("GET", kLatest,
                 testing::ServerReply::json(R"({"version":"2.0","url":"h/x.pkg"})"));
  EXPECT_EQ(check(), UpdateResult::upToDate());
  EXPECT_FALSE(Ops::updateAvailable());
  EXPECT_EQ(Ops::latestVersion(), "1.9");  // the other keys keep their values
}

TEST_F(UpdateCheckTest, NewerVersionWithOnlyUrlUsesItForBothLinks) {
  server_->reply("GET", kLatest,
                 testing::ServerReply::json(
                     R"({"version":"2.1","url":"  dl.example.org/u/Ornavel.pkg/ ","notes":"n",
                      "sha256":"AB","fileSizeMB":12.5,"extra":true})"));
  UpdateResult result = check();
  ASSERT_EQ(result.kind, UpdateResult::Kind::available);
  EXPECT_EQ(result.info.version, "2.1");
  EXPECT_EQ(result.info.directDownloadURL, "https://dl.example.org/u/Ornavel.pkg");
  EXPECT_EQ(result.info.fallbackURL, "https://dl.example.org/u/Ornavel.pkg");
  EXPECT_EQ(result.info.notes, "n");
  EXPECT_EQ(result.info.sha256, "AB");
  EXPECT_EQ(result.info.fileSizeMB, 12.5);
  EXPECT_TRUE(Ops::updateAvailable());
  EXPECT_EQ(Ops::latestVersion(), "2.1");
  EXPECT_EQ(Ops::latestDownloadURL(), "https://dl.example.org/u/Ornavel.pkg");
  EXPECT_EQ(Ops::latestNotes(), "n");
}

TEST_F(UpdateCheckTest, EmptyDirectLinkFallsBackToTheFallbackLink) {
  server_->reply("GET", kLatest,
                 testing::ServerReply::json(
                     R"({"version":"3","url":"//a/x","directURL":"","fallbackURL":"//b/page"})"));
  UpdateResult result = check();
  ASSERT_EQ(result.kind, UpdateResult::Kind::available);
  EXPECT_EQ(result.info.directDownloadURL, "");
  EXPECT_EQ(result.info.fallbackURL, "https://b/page");
  EXPECT_EQ(result.info.preferredDownloadURL(), "https://b/page");
  EXPECT_EQ(Ops::latestDownloadURL(), "https://b/page");
}

TEST_F(UpdateCheckTest, MembersOfTheWrongTypeTakeTheirDefaults) {
  server_->reply("GET", kLatest,
                 testing::ServerReply::json(
                     R"({"version":"2.5","url":7,"directURL":null,"notes":1,"sha256":false,
                      "fileSizeMB":"12.5"})"));
  UpdateResult result = check();
  ASSERT_EQ(result.kind, UpdateResult::Kind::available);
  EXPECT_EQ(result.info.directDownloadURL, "");
  EXPECT_EQ(result.info.fallbackURL, "");
  EXPECT_EQ(result.info.notes, "");
  EXPECT_EQ(result.info.sha256, "");
  EXPECT_FALSE(result.info.fileSizeMB.has_value());
}

TEST_F(UpdateCheckTest, BadAnswersFailWithoutTouchingSettings) {
  settings_->setBool("Ornavel.updateAvailable", true);
  for (const char* body : {R"({"version":2.1})", R"({"url":"x"})", "[1]", "<html>502</html>", ""}) {
    server_->reply("GET", kLatest, testing::ServerReply::json(body));
    EXPECT_EQ(check(), UpdateResult::failed("返回数据格式错误")) << body;
  }
  EXPECT_TRUE(Ops::updateAvailable());
  EXPECT_TRUE(logMessages().empty());
}

TEST_F(UpdateCheckTest, StatusCodeIsNotExamined) {
  server_->reply("GET", kLatest, testing::ServerReply::json(R"({"version":"9.0"})", 500));
  EXPECT_EQ(check().kind, UpdateResult::Kind::available);
}

TEST_F(UpdateCheckTest, UnconfiguredEndpointFailsWithoutARequest) {
  pointServiceAt("");
  EXPECT_EQ(check(), UpdateResult::failed("更新服务尚未配置"));
  EXPECT_TRUE(logged("检测更新：服务器地址未配置"));
  EXPECT_EQ(server_->requests().size(), 0u);
}

TEST_F(UpdateCheckTest, NothingListeningGivesTheTransportError) {
  pointServiceAt(service_testing::deadBaseURL());
  UpdateResult result = check();
  ASSERT_EQ(result.kind, UpdateResult::Kind::failed);
  EXPECT_FALSE(result.message.empty());
  EXPECT_TRUE(logged("检测更新失败：" + result.message));
}

TEST_F(UpdateCheckTest, ServerThatNeverAnswersTimesOut) {
  setServiceTimeout(0.5);
  server_->hang("GET", kLatest);
  UpdateResult result = check();
  ASSERT_EQ(result.kind, UpdateResult::Kind::failed);
  EXPECT_TRUE(logged("检测更新失败：" + result.message));
}

using SilentCheckTest = UpdateCheckTest;

TEST_F(SilentCheckTest, RunsAtMostOnceInFiveHours) {
  server_->reply("GET", kLatest, testing::ServerReply::json(R"({"version":"2.4"})"));
  clock_.setSecondsSince1970(1'800'000'000);
  Ops::silentCheckIfDue();  // never checked: due
  EXPECT_EQ(Ops::lastCheckTime(), 1'800'000'000);
  runUntil([] { return Ops::updateAvailable(); });

  clock_.advance(std::chrono::seconds(3600));  // an hour later
  Ops::silentCheckIfDue();
  settle();
  EXPECT_EQ(server_->requests().size(), 1u);
  EXPECT_EQ(Ops::lastCheckTime(), 1'800'000'000);

  clock_.setSecondsSince1970(1'800'000'000 + 18000);  // five hours after the stored time
  Ops::silentCheckIfDue();
  EXPECT_EQ(Ops::lastCheckTime(), 1'800'018'000);
  runUntil([&] { return server_->requests().size() == 2; });
  settle();
}

TEST_F(SilentCheckTest, FailingCheckStillStoresTheTime) {
  pointServiceAt(service_testing::deadBaseURL());
  clock_.setSecondsSince1970(1'800'000'000);
  Ops::silentCheckIfDue();
  EXPECT_EQ(Ops::lastCheckTime(), 1'800'000'000);  // stored before the request
  runUntil([&] {
    for (const auto& line : logMessages()) {
      if (line.rfind("检测更新失败：", 0) == 0) return true;
    }
    return false;
  });
}

TEST_F(SilentCheckTest, MenuCheckNeitherReadsNorWritesTheTime) {
  server_->reply("GET", kLatest, testing::ServerReply::json(R"({"version":"1.0"})"));
  clock_.setSecondsSince1970(1'800'000'000);
  Ops::setLastCheckTime(1'800'000'000 - 10);
  check();
  EXPECT_EQ(Ops::lastCheckTime(), 1'800'000'000 - 10);
}

TEST_F(UpdateCheckTest, SettingsDefaultsWhileAbsent) {
  EXPECT_FALSE(Ops::updateAvailable());
  EXPECT_EQ(Ops::latestVersion(), "");
  EXPECT_EQ(Ops::latestDownloadURL(), "");
  EXPECT_EQ(Ops::latestNotes(), "");
  EXPECT_EQ(Ops::lastCheckTime(), 0);
}

}  // namespace
}  // namespace ornav
