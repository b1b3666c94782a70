#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/linux/testing/service_test_support.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

using service_testing::ServiceTest;
using Ops = UpdateServiceOperations;
constexpr const char* kUserDict = "/api/ornav-ime/user-dict";

class UserDictUploadTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    Ops::setUploadConsent(true);  // a user who agreed to uploads
  }
  bool upload(const std::string& tsv, bool force = false) {
    return await<bool>([&](auto done) { Ops::uploadUserDict(tsv, force, std::move(done)); });
  }
  nlohmann::json lastBody() const {
    return nlohmann::json::parse(server_->requests().back().body, nullptr, false);
  }
  nlohmann::json storedSnapshot() const {
    auto data = settings_->getData("Ornavel.userDictUploadedCounts");
    if (!data) return nullptr;
    return nlohmann::json::parse(data->begin(), data->end(), nullptr, false);
  }
  std::optional<double> lastUploadAt() const {
    return settings_->getDouble("Ornavel.userDictLastUploadAt");
  }
  void storeSnapshot(const std::string& json) {
    settings_->setData("Ornavel.userDictUploadedCounts", SettingsData(json.begin(), json.end()));
  }
};

TEST_F(UserDictUploadTest, SixLineExampleSendsOneEntry) {
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})"));
  EXPECT_TRUE(upload("ab\t3\nab\t5\na\t9\ncd\t0\nef\tx\ngh\t1\t2"));
  ASSERT_EQ(server_->requests().size(), 1u);
  const auto request = server_->requests().front();
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.header("Content-Type"), "application/json");
  nlohmann::json body = lastBody();
  EXPECT_EQ(body["device"], UpdateService::deviceID());
  EXPECT_EQ(body["entries"], nlohmann::json::parse(R"([{"word":"ab","count":5}])"));
  EXPECT_EQ(body.size(), 2u);
  EXPECT_EQ(storedSnapshot(), nlohmann::json::parse(R"({"ab":5})"));
  EXPECT_EQ(lastUploadAt(), clock_.secondsSince1970());
}

TEST_F(UserDictUploadTest, OnlyGrowthSinceTheAcceptedSnapshotIsSent) {
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})"));
  storeSnapshot(R"({"ab":5})");
  EXPECT_TRUE(upload("cd\t2\nab\t7"));
  EXPECT_EQ(lastBody()["entries"],
            nlohmann::json::parse(R"([{"word":"ab","count":2},{"word":"cd","count":2}])"));
  EXPECT_EQ(storedSnapshot(), nlohmann::json::parse(R"({"ab":7,"cd":2})"));
}

TEST_F(UserDictUploadTest, NothingGrewCompletesWithoutARequest) {
  storeSnapshot(R"({"ab":9})");
  EXPECT_TRUE(upload("ab\t7"));
  EXPECT_EQ(server_->requests().size(), 0u);
  EXPECT_EQ(storedSnapshot(), nlohmann::json::parse(R"({"ab":9})"));  // lowered value not stored
  EXPECT_TRUE(upload(""));
  EXPECT_EQ(server_->requests().size(), 0u);
}

TEST_F(UserDictUploadTest, ForcedUploadSendsFullCountsAndReplacesTheSnapshot) {
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})"));
  storeSnapshot(R"({"ab":5,"zz":4})");
  EXPECT_TRUE(upload("ab\t7", /*force=*/true));
  EXPECT_EQ(lastBody()["entries"], nlohmann::json::parse(R"([{"word":"ab","count":7}])"));
  EXPECT_EQ(storedSnapshot(), nlohmann::json::parse(R"({"ab":7})"));
}

TEST_F(UserDictUploadTest, ThrottleHoldsBackUnforcedUploads) {
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})"));
  EXPECT_TRUE(upload("ab\t1"));
  clock_.advance(std::chrono::seconds(600));  // ten minutes later
  EXPECT_TRUE(upload("ab\t2"));
  EXPECT_EQ(server_->requests().size(), 1u);
  EXPECT_TRUE(upload("ab\t3", /*force=*/true));  // forcing skips the throttle
  EXPECT_EQ(server_->requests().size(), 2u);
  clock_.advance(std::chrono::seconds(1800));
  EXPECT_TRUE(upload("ab\t4"));
  EXPECT_EQ(server_->requests().size(), 3u);
  EXPECT_EQ(lastBody()["entries"], nlohmann::json::parse(R"([{"word":"ab","count":1}])"));
}

TEST_F(UserDictUploadTest, ThrottleRule) {
  using std::chrono::seconds;
  const auto at = [](double s) {
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::duration<double>(s)));
  };
  EXPECT_TRUE(Ops::shouldUploadUserDict(at(100)));  // never uploaded
  settings_->setDouble("Ornavel.userDictLastUploadAt", 1000);
  EXPECT_FALSE(Ops::shouldUploadUserDict(at(2799)));
  EXPECT_TRUE(Ops::shouldUploadUserDict(at(2800)));
  settings_->setDouble("Ornavel.userDictLastUploadAt", -5);
  EXPECT_TRUE(Ops::shouldUploadUserDict(at(0)));
  Ops::setUploadConsent(false);
  EXPECT_FALSE(Ops::shouldUploadUserDict(at(1e9)));
}

TEST_F(UserDictUploadTest, NothingGoesUntilConsentIsGiven) {
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})"));
  settings_->remove("Ornavel.uploadConsent");
  EXPECT_FALSE(Ops::uploadConsent());
  EXPECT_FALSE(upload("ab\t1", /*force=*/true));
  settings_->setString("Ornavel.uploadConsent", "yes");  // only a stored true is consent
  EXPECT_FALSE(Ops::uploadConsent());
  EXPECT_TRUE(server_->requests().empty());

  Ops::setUploadConsent(true);
  EXPECT_TRUE(upload("ab\t1"));
  EXPECT_EQ(server_->requests().size(), 1u);

  Ops::setUploadConsent(false);
  EXPECT_FALSE(upload("ab\t5"));
  EXPECT_FALSE(upload("ab\t5", /*force=*/true));
  EXPECT_EQ(server_->requests().size(), 1u);
}

TEST_F(UserDictUploadTest, RejectedOrFailedUploadsKeepTheSnapshot) {
  storeSnapshot(R"({"ab":1})");
  settings_->setDouble("Ornavel.userDictLastUploadAt", 5);
  const std::vector<std::pair<std::string, int>> rejections = {
      {R"({"ok":false})", 200},   {R"({"ok":"true"})", 200}, {R"({"status":"ok"})", 200},
      {"<html>busy</html>", 200}, {"[true]", 200},           {R"({"ok":0})", 200},
  };
  for (const auto& [body, status] : rejections) {
    server_->reply("POST", kUserDict, testing::ServerReply::json(body, status));
    EXPECT_FALSE(upload("ab\t4")) << body;
    EXPECT_EQ(storedSnapshot(), nlohmann::json::parse(R"({"ab":1})")) << body;
    EXPECT_EQ(lastUploadAt(), 5) << body;
  }
  // The same growth is offered again.
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})"));
  EXPECT_TRUE(upload("ab\t4"));
  EXPECT_EQ(lastBody()["entries"], nlohmann::json::parse(R"([{"word":"ab","count":3}])"));
  EXPECT_TRUE(logMessages().empty());
}

TEST_F(UserDictUploadTest, AcceptanceIsReadFromTheBodyOnly) {
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})", 500));
  EXPECT_TRUE(upload("ab\t4"));
  EXPECT_EQ(storedSnapshot(), nlohmann::json::parse(R"({"ab":4})"));
  clock_.advance(std::chrono::seconds(1800));
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":1})", 200));
  EXPECT_TRUE(upload("ab\t6"));
  EXPECT_EQ(storedSnapshot(), nlohmann::json::parse(R"({"ab":6})"));
}

TEST_F(UserDictUploadTest, TransportFailureIsLoggedAndKeepsTheSnapshot) {
  pointServiceAt(service_testing::deadBaseURL());
  EXPECT_FALSE(upload("ab\t4"));
  EXPECT_FALSE(settings_->contains("Ornavel.userDictUploadedCounts"));
  EXPECT_FALSE(settings_->contains("Ornavel.userDictLastUploadAt"));
  ASSERT_EQ(logMessages().size(), 1u);
  EXPECT_EQ(logMessages().front().rfind("上传用户词库失败：", 0), 0u);
}

TEST_F(UserDictUploadTest, TimeOutIsATransportFailure) {
  setServiceTimeout(0.5);
  server_->hang("POST", kUserDict);
  EXPECT_FALSE(upload("ab\t4"));
  ASSERT_EQ(logMessages().size(), 1u);
  EXPECT_EQ(logMessages().front().rfind("上传用户词库失败：", 0), 0u);
}

TEST_F(UserDictUploadTest, UnconfiguredEndpointFailsWithoutARequest) {
  pointServiceAt("");
  EXPECT_FALSE(upload("ab\t4"));
  // Skips decided before the endpoint is formed still succeed.
  EXPECT_TRUE(upload(""));
  EXPECT_EQ(server_->requests().size(), 0u);
}

TEST_F(UserDictUploadTest, CorruptStoredSnapshotCountsAsEmpty) {
  server_->reply("POST", kUserDict, testing::ServerReply::json(R"({"ok":true})"));
  storeSnapshot("{not json");
  EXPECT_TRUE(upload("ab\t4"));
  EXPECT_EQ(lastBody()["entries"], nlohmann::json::parse(R"([{"word":"ab","count":4}])"));
}

}  // namespace
}  // namespace ornav
