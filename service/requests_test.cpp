// Requests as a hostile or broken client sends them, over a real socket to the service on
// SQLite: every one is answered with a 4xx and nothing of it is stored.
#include <gtest/gtest.h>
#include <httplib.h>

#include "base/temporary_folder.h"
#include "testing/live_service.h"
#include "testing/service_process.h"

namespace ornav::service {
namespace {

const ServiceLimits kSmallLimits = {.feedbackBodyBytes = 1000,
                                    .uploadEntries = 3,
                                    .feedbackPerHour = 2,
                                    .storingRequestsPerAddress = 0};

class Requests : public ::testing::Test {
 protected:
  httplib::Result send(const std::string& method, const std::string& path,
                       const std::string& body = "") {
    httplib::Request request;
    request.method = method;
    request.path = path;
    request.body = body;
    request.set_header("Content-Type", "application/json");
    return client_.send(request);
  }
  int status(const std::string& method, const std::string& path, const std::string& body = "") {
    const auto answer = send(method, path, body);
    return answer ? answer->status : 0;
  }
  TemporaryFolder folder_;
  testing::LiveService service_{"sqlite:" + (folder_ / "db").string(), kSmallLimits,
                                FrontEndOptions{.readTimeoutSeconds = 1}};
  httplib::Client client_{"127.0.0.1", service_.frontEnd.port()};
};

TEST_F(Requests, MalformedRequestsAreRefusedAndStoreNothing) {
  const std::string upload = "/api/ornav-ime/user-dict", feedback = "/api/ornav-ime/feedback";
  const std::string word = "كىتاب";
  const struct {
    std::string method, path, body;
    int status;
  } rows[] = {
      {"POST", upload, "{", 400},
      {"POST", upload, "[]", 400},
      {"POST", upload, R"({"device":5,"entries":[]})", 400},
      {"POST", upload, R"({"device":"A","entries":{}})", 400},
      {"POST", upload, R"({"device":"A","entries":[{"word":")" + word + R"(","count":"3"}]})", 400},
      {"POST", upload, R"({"device":"A","entries":[{"word":")" + word + R"(","count":0}]})", 400},
      {"POST", upload, R"({"device":"A","entries":[{"word":")" + word + R"(","count":2.5}]})", 400},
      {"POST", upload, R"({"device":"A","entries":[{"word":"\xff\xfe","count":1}]})", 400},
      {"POST", upload, R"({"device":"A'); DROP TABLE devices; --","entries":[]})", 400},
      {"POST", upload, R"({"device":"A","entries":[1,2,3,4]})", 413},
      {"POST", feedback, R"({"message":" \n ","device":"A"})", 400},
      {"POST", feedback, R"({"message":"hi","device":"A","contact":7})", 400},
      {"POST", feedback, R"({"message":"a\u0000b","device":"A"})", 400},
      {"POST", feedback, R"({"message":")" + std::string(2000, 'x') + R"(","device":"A"})", 413},
      {"POST", "/api/ornav-ime/crash", R"({"reportID":"","device":"A"})", 400},
      {"POST", "/api/ornav-ime/crash", R"({"reportID":"r","device":"A","stack":[]})", 400},
      {"GET", "/api/ornav-ime/nope", "", 404},
      {"DELETE", "/api/ornav-ime/dict", "", 405},
      {"PUT", upload, "{}", 405},
      {"GET", feedback, "", 405},
  };
  for (const auto& row : rows)
    EXPECT_EQ(status(row.method, row.path, row.body), row.status) << row.method << " " << row.body;

  const int port = service_.frontEnd.port();
  const std::string head = "POST /api/ornav-ime/feedback HTTP/1.1\r\nHost: x\r\n";
  // Bodies announced too large, promised and never sent, trickling in slower than the time-out,
  // and sent in chunks past the cap.
  EXPECT_EQ(testing::rawExchange(port, {head + "Content-Length: 99999999\r\n\r\n"}), 413);
  EXPECT_EQ(testing::rawExchange(port, {head + "Content-Length: 40\r\n\r\n"}), 400);
  EXPECT_EQ(testing::rawExchange(port, {head + "Content-Length: 40\r\n\r\n{", "\"message\""}, 1500),
            400);
  EXPECT_EQ(testing::rawExchange(port, {"GET /api/ornav-ime/about HTTP/1.1\r\nHost: x\r\n"
                                        "Transfer-Encoding: chunked\r\n\r\n"}),
            413);
  EXPECT_EQ(testing::rawExchange(port, {head + "Transfer-Encoding: chunked\r\n\r\n",
                                        "7d0\r\n" + std::string(2000, ' ') + "\r\n0\r\n\r\n"}),
            413);
  const Stats nothing = service_.storage->stats();
  EXPECT_EQ(nothing.devices + nothing.uploads + nothing.feedback + nothing.crashReports, 0);
}

TEST_F(Requests, SqlInEveryFieldIsKeptAsText) {
  const std::string evil = R"('); DROP TABLE feedback; -- \" $1 ? %s)";
  std::string fields;
  for (const char* key : {"message", "contact", "version", "host", "os", "time"})
    fields += std::string("\"") + key + "\":\"" + evil + "\",";
  EXPECT_EQ(status("POST", "/api/ornav-ime/feedback", "{" + fields + R"("device":"A"})"), 200);
  EXPECT_EQ(status("POST", "/api/ornav-ime/user-dict",
                   R"({"device":"A","entries":[{"word":")" + evil + R"(","count":1}]})"),
            200);
  const auto stored = service_.storage->feedbackSince(0, 10);
  ASSERT_EQ(stored.size(), 1u);
  const std::string kept = R"('); DROP TABLE feedback; -- " $1 ? %s)";
  EXPECT_EQ(stored[0].feedback.message, kept);
  EXPECT_EQ(stored[0].feedback.os, kept);
  EXPECT_EQ(service_.storage->rebuildDictionary(1, 0).words, 0);  // not a word of the alphabet
  // A body far larger than a feedback's, within the upload's cap.
  EXPECT_EQ(status("POST", "/api/ornav-ime/user-dict",
                   R"({"device":"A","entries":[{"word":")" + std::string(200000, 'x') +
                       R"(","count":1}]})"),
            200);
}

TEST_F(Requests, LimitsPerDeviceAndPerAddress) {
  const auto feedbackFrom = [&](const std::string& device) {
    return status("POST", "/api/ornav-ime/feedback",
                  R"({"message":"hi","device":")" + device + "\"}");
  };
  EXPECT_EQ(feedbackFrom("A"), 200);
  EXPECT_EQ(feedbackFrom("A"), 200);
  const auto refused = send("POST", "/api/ornav-ime/feedback", R"({"message":"hi","device":"A"})");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 429);
  EXPECT_NE(refused->body.find("\"message\""), std::string::npos);  // shown to the user
  EXPECT_EQ(feedbackFrom("B"), 200);
  EXPECT_EQ(service_.storage->stats().feedback, 3);

  ServiceLimits perAddress = kSmallLimits;
  perAddress.storingRequestsPerAddress = 2;
  testing::LiveService limited("sqlite:" + (folder_ / "limited").string(), perAddress);
  httplib::Client client("127.0.0.1", limited.frontEnd.port());
  for (const char* device : {"A", "B", "C"}) {
    const auto answer = client.Post("/api/ornav-ime/feedback",
                                    R"({"message":"hi","device":")" + std::string(device) + "\"}",
                                    "application/json");
    EXPECT_EQ(answer ? answer->status : 0, device[0] == 'C' ? 429 : 200) << device;
  }
}

}  // namespace
}  // namespace ornav::service
