#include "services/cloud_dict.h"

#include <gtest/gtest.h>

#include "platform/linux/testing/service_test_support.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

using service_testing::ServiceTest;
using Ops = UpdateServiceOperations;
using Fetched = std::optional<CloudDict>;
constexpr const char* kDict = "/api/ornav-ime/dict";

class CloudDictTest : public ServiceTest {
 protected:
  Fetched fetch(const std::string& since) {
    return await<Fetched>([&](auto done) { Ops::fetchCloudDict(since, std::move(done)); });
  }
};

TEST_F(CloudDictTest, FirstFetchSendsSinceZero) {
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"version":"7","tsv":"ab\t3\n"})"));
  EXPECT_EQ(Ops::cloudDictVersion(), "0");
  EXPECT_EQ(fetch(Ops::cloudDictVersion()), (CloudDict{"ab\t3\n", "7"}));
  ASSERT_EQ(server_->requests().size(), 1u);
  const auto request = server_->requests().front();
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.target, "/api/ornav-ime/dict?since=0");
  EXPECT_FALSE(request.header("Cache-Control").has_value());
  // Nothing here stores the version: the caller does after its merge.
  EXPECT_EQ(Ops::cloudDictVersion(), "0");
}

TEST_F(CloudDictTest, SinceIsEncodedAsOneQueryValue) {
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"version":"8"})"));
  fetch("v 1&x=2+ئ");
  ASSERT_EQ(server_->requests().size(), 1u);
  const auto request = server_->requests().front();
  EXPECT_EQ(request.query.count("since"), 1u);
  EXPECT_EQ(request.query.find("since")->second, "v 1&x=2+ئ");
  EXPECT_EQ(request.query.count("x"), 0u);
  fetch("");
  EXPECT_EQ(server_->requests().back().target, "/api/ornav-ime/dict?since=");
}

TEST_F(CloudDictTest, UnchangedIsLoggedAndGivesNothing) {
  server_->reply("GET", kDict,
                 testing::ServerReply::json(R"({"version":"12","unchanged":true,"tsv":"ab\t1"})"));
  EXPECT_EQ(fetch("12"), std::nullopt);
  EXPECT_TRUE(logged("云端词库无更新（版本 12）"));
}

TEST_F(CloudDictTest, TheNumberOneCountsAsUnchanged) {
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"version":"12","unchanged":1})"));
  EXPECT_EQ(fetch("12"), std::nullopt);
  EXPECT_TRUE(logged("云端词库无更新（版本 12）"));
}

TEST_F(CloudDictTest, UnchangedFalseOrOtherValuesStillDeliver) {
  for (const char* unchanged : {"false", "0", "2", "\"true\""}) {
    server_->reply("GET", kDict,
                   testing::ServerReply::json(
                       std::string(R"({"version":"5","tsv":"x","unchanged":)") + unchanged + "}"));
    EXPECT_EQ(fetch("1"), (CloudDict{"x", "5"})) << unchanged;
  }
}

TEST_F(CloudDictTest, VersionMustBeAString) {
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"version":12,"tsv":"ab\t1"})"));
  EXPECT_EQ(fetch("0"), std::nullopt);
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"tsv":"ab\t1"})"));
  EXPECT_EQ(fetch("0"), std::nullopt);
  EXPECT_TRUE(logMessages().empty());
}

TEST_F(CloudDictTest, MissingOrNonStringTextIsEmpty) {
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"version":"3"})"));
  EXPECT_EQ(fetch("0"), (CloudDict{"", "3"}));
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"version":"3","tsv":["ab"]})"));
  EXPECT_EQ(fetch("0"), (CloudDict{"", "3"}));
}

TEST_F(CloudDictTest, AnyStatusIsReadTheSameWay) {
  server_->reply("GET", kDict, testing::ServerReply::json(R"({"version":"4","tsv":"t"})", 503));
  EXPECT_EQ(fetch("0"), (CloudDict{"t", "4"}));
  server_->reply("GET", kDict, testing::ServerReply::json("<html>oops</html>", 200));
  EXPECT_EQ(fetch("0"), std::nullopt);
  EXPECT_TRUE(logMessages().empty());
}

TEST_F(CloudDictTest, TransportErrorsAreLogged) {
  pointServiceAt(service_testing::deadBaseURL());
  EXPECT_EQ(fetch("0"), std::nullopt);
  ASSERT_EQ(logMessages().size(), 1u);
  EXPECT_EQ(logMessages().front().rfind("拉取云端词库失败：", 0), 0u);
  EXPECT_GT(logMessages().front().size(), std::string("拉取云端词库失败：").size());
}

TEST_F(CloudDictTest, TimeOutIsATransportError) {
  setServiceTimeout(0.5);
  server_->hang("GET", kDict);
  EXPECT_EQ(fetch("0"), std::nullopt);
  ASSERT_EQ(logMessages().size(), 1u);
  EXPECT_EQ(logMessages().front().rfind("拉取云端词库失败：", 0), 0u);
}

TEST_F(CloudDictTest, UnconfiguredEndpointGivesNothingQuietly) {
  pointServiceAt("");
  EXPECT_EQ(fetch("0"), std::nullopt);
  EXPECT_EQ(server_->requests().size(), 0u);
  EXPECT_TRUE(logMessages().empty());
}

TEST_F(CloudDictTest, SwitchAndVersionSettings) {
  EXPECT_TRUE(Ops::onlineDictEnabled());  // on until first written
  Ops::setOnlineDictEnabled(false);
  EXPECT_FALSE(Ops::onlineDictEnabled());
  Ops::setOnlineDictEnabled(true);
  EXPECT_TRUE(Ops::onlineDictEnabled());
  // A value of another type is still a value: only true is on.
  settings_->setString("Ornavel.onlineDictEnabled", "yes");
  EXPECT_FALSE(Ops::onlineDictEnabled());

  settings_->setInteger("Ornavel.cloudDictVersion", 5);
  EXPECT_EQ(Ops::cloudDictVersion(), "0");  // no string stored
  Ops::setCloudDictVersion("20261206");
  EXPECT_EQ(Ops::cloudDictVersion(), "20261206");
}

}  // namespace
}  // namespace ornav
