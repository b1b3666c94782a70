// The libcurl session against a real server on a loopback port. Nothing here leaves 127.0.0.1.
#include "platform/linux/curl_http_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "base/temporary_folder.h"
#include "platform/linux/run_loop.h"
#include "services/http_failure.h"
#include "testing/local_http_server.h"

namespace ornav::linux_platform {
namespace {

using testing::LocalHttpServer;
using testing::RecordedRequest;
using testing::ServerReply;

class CurlHttpSessionTest : public ::testing::Test {
 protected:
  // Sends one request and runs the loop until its completion; counts completions.
  HttpResult send(const HttpRequest& request, double waitSeconds = 10) {
    std::optional<HttpResult> result;
    session.dataTask(request, [&](HttpResult r) {
      ++completions;
      if (std::this_thread::get_id() != mainThread) completedOffMain = true;
      result = std::move(r);
    });
    EXPECT_FALSE(result.has_value());  // never synchronously
    EXPECT_TRUE(loop.runUntil([&] { return result.has_value(); }, Seconds(waitSeconds)));
    return result.value_or(HttpError{.code = HttpError::Code::other, .detail = "no completion"});
  }

  static HttpRequest request(std::string url, std::string method = "GET") {
    HttpRequest r;
    r.url = std::move(url);
    r.method = std::move(method);
    return r;
  }

  LocalHttpServer server;
  RunLoop loop;
  CurlHttpSession session{loop};
  std::thread::id mainThread = std::this_thread::get_id();
  int completions = 0;
  bool completedOffMain = false;
};

TEST_F(CurlHttpSessionTest, GetDeliversStatusHeadersAndBodyOnTheMainQueueOnce) {
  ServerReply reply = ServerReply::json(R"({"ok":true})", 201);
  reply.headers.emplace_back("X-Trace", "abc");
  server.reply("GET", "/api/ornav-ime/about", reply);
  auto r = request(server.url("/api/ornav-ime/about?since=v%201"));
  r.headers = {{"Accept-Language", "zh-Hans"}};
  HttpResult result = send(r);

  auto* response = std::get_if<HttpResponse>(&result);
  ASSERT_NE(response, nullptr) << failureText(std::get<HttpError>(result));
  EXPECT_EQ(response->status, 201);
  EXPECT_EQ(response->body, R"({"ok":true})");
  EXPECT_EQ(response->header("x-trace"), "abc");
  EXPECT_EQ(response->header("Content-Type"), "application/json");

  auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].query.at("since"), "v 1");
  EXPECT_EQ(seen[0].header("Accept-Language"), "zh-Hans");
  EXPECT_EQ(seen[0].header("Cache-Control"), std::nullopt);  // only when asked for

  loop.runFor(Seconds(0.05));
  EXPECT_EQ(completions, 1);
  EXPECT_FALSE(completedOffMain);
}

TEST_F(CurlHttpSessionTest, MethodsAndBodiesReachTheServerUnchanged) {
  server.handle("POST", "/api/ornav-ime/feedback", [](const RecordedRequest& r) {
    return ServerReply::json(R"({"echo":)" + std::to_string(r.body.size()) + "}");
  });
  server.reply("PUT", "/p", ServerReply::json("{}"));
  server.reply("DELETE", "/p", ServerReply::json("{}"));

  std::string body = R"({"message":"ياخشىمۇسىز","contact":""})";
  body += std::string(200000, 'x');  // larger than one socket buffer
  auto post = request(server.url("/api/ornav-ime/feedback"), "POST");
  post.headers = {{"Content-Type", "application/json"}};
  post.body = body;
  auto result = send(post);
  ASSERT_TRUE(std::holds_alternative<HttpResponse>(result));
  EXPECT_EQ(std::get<HttpResponse>(result).body, "{\"echo\":" + std::to_string(body.size()) + "}");

  auto emptyPost = request(server.url("/api/ornav-ime/feedback"), "POST");
  send(emptyPost);
  auto put = request(server.url("/p"), "PUT");
  put.body = "x=1";
  send(put);
  send(request(server.url("/p"), "DELETE"));

  auto seen = server.requests();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].body, body);
  EXPECT_EQ(seen[0].header("Content-Type"), "application/json");
  EXPECT_EQ(seen[0].header("Expect"), std::nullopt);  // no 100-continue round trip
  EXPECT_EQ(seen[1].method, "POST");
  EXPECT_EQ(seen[1].body, "");
  EXPECT_EQ(seen[2].method, "PUT");
  EXPECT_EQ(seen[2].body, "x=1");
  EXPECT_EQ(seen[3].method, "DELETE");
}

TEST_F(CurlHttpSessionTest, ReloadIgnoringCacheSendsNoCacheHeaders) {
  server.reply("GET", "/latest", ServerReply::json("{}"));
  auto r = request(server.url("/latest"));
  r.cachePolicy = CachePolicy::reloadIgnoringLocalCache;
  send(r);
  auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].header("Cache-Control"), "no-cache");
  EXPECT_EQ(seen[0].header("Pragma"), "no-cache");
}

TEST_F(CurlHttpSessionTest, ErrorStatusesAreResponsesNotErrors) {
  auto result = send(request(server.url("/nothing-here")));
  ASSERT_TRUE(std::holds_alternative<HttpResponse>(result));
  EXPECT_EQ(std::get<HttpResponse>(result).status, 404);
}

TEST_F(CurlHttpSessionTest, AServerThatNeverAnswersTimesOutWithAReadableError) {
  server.hang("GET", "/slow");
  auto r = request(server.url("/slow"));
  r.timeoutSeconds = 1;
  auto start = std::chrono::steady_clock::now();
  auto result = send(r, 15);
  auto elapsed = std::chrono::steady_clock::now() - start;
  auto* error = std::get_if<HttpError>(&result);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->code, HttpError::Code::timedOut);
  EXPECT_NE(failureText(*error).find("超时"), std::string::npos) << failureText(*error);
  EXPECT_NE(failureText(*error).find("1 秒"), std::string::npos) << failureText(*error);
  EXPECT_GE(elapsed, std::chrono::milliseconds(900));
  EXPECT_LT(elapsed, std::chrono::seconds(8));
  EXPECT_EQ(completions, 1);
}

TEST_F(CurlHttpSessionTest, NothingListeningGivesCannotConnectNamingTheServer) {
  const int port = testing::unusedLoopbackPort();
  auto result = send(request("http://127.0.0.1:" + std::to_string(port) + "/api"));
  auto* error = std::get_if<HttpError>(&result);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->code, HttpError::Code::cannotConnect);
  EXPECT_NE(failureText(*error).find("无法连接到服务器 127.0.0.1:" + std::to_string(port)),
            std::string::npos)
      << failureText(*error);
  EXPECT_EQ(completions, 1);
  EXPECT_FALSE(completedOffMain);
}

TEST_F(CurlHttpSessionTest, HttpsToAPlainServerIsASecureConnectionFailure) {
  // The loopback server speaks plain HTTP, so the TLS handshake cannot succeed.
  auto result = send(request("https://127.0.0.1:" + std::to_string(server.port()) + "/x"));
  auto* error = std::get_if<HttpError>(&result);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->code, HttpError::Code::secureConnectionFailed) << failureText(*error);
  EXPECT_NE(failureText(*error).find("无法与服务器 127.0.0.1:"), std::string::npos);
  EXPECT_EQ(completions, 1);
}

TEST_F(CurlHttpSessionTest, UnusableAddressesFailAsynchronouslyWithoutARequest) {
  for (const std::string url : {"", "not a url", "/api/ornav-ime/dict", "https://"}) {
    auto result = send(request(url));
    ASSERT_TRUE(std::holds_alternative<HttpError>(result)) << url;
    EXPECT_EQ(std::get<HttpError>(result).code, HttpError::Code::badUrl) << url;
  }
  for (const std::string url : {"ftp://127.0.0.1/x", "file:///etc/passwd"}) {
    auto result = send(request(url));
    ASSERT_TRUE(std::holds_alternative<HttpError>(result)) << url;
    EXPECT_EQ(std::get<HttpError>(result).code, HttpError::Code::unsupportedScheme) << url;
  }
  EXPECT_EQ(completions, 6);
}

TEST_F(CurlHttpSessionTest, HeaderValuesWithLineBreaksAreNotSent) {
  server.reply("GET", "/h", ServerReply::json("{}"));
  auto r = request(server.url("/h"));
  r.headers = {{"X-Ok", "1"}, {"X-Bad", "a\r\nX-Injected: yes"}};
  send(r);
  auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].header("X-Ok"), "1");
  EXPECT_EQ(seen[0].header("X-Bad"), std::nullopt);
  EXPECT_EQ(seen[0].header("X-Injected"), std::nullopt);
}

TEST_F(CurlHttpSessionTest, RedirectsAreFollowedToTheFinalAnswer) {
  ServerReply moved;
  moved.status = 302;
  moved.headers = {{"Location", "/final"}};
  server.reply("GET", "/start", moved);
  server.reply("GET", "/final", ServerReply::json(R"({"where":"final"})"));
  auto result = send(request(server.url("/start")));
  ASSERT_TRUE(std::holds_alternative<HttpResponse>(result));
  EXPECT_EQ(std::get<HttpResponse>(result).status, 200);
  EXPECT_EQ(std::get<HttpResponse>(result).body, R"({"where":"final"})");
  EXPECT_EQ(std::get<HttpResponse>(result).header("Location"), std::nullopt);
}

TEST_F(CurlHttpSessionTest, BodiesAreCutOffPastTheRequestsLimit) {
  ServerReply big;
  big.body = std::string(100000, 'x');
  server.reply("GET", "/sized", big);
  big.withoutLength = true;  // no length announced: the body itself is counted
  big.chunkSize = 1000;
  server.reply("GET", "/streamed", big);

  for (const char* path : {"/sized", "/streamed"}) {
    auto r = request(server.url(path));
    r.maxResponseBytes = 100000;  // exactly the body: accepted
    auto result = send(r);
    ASSERT_TRUE(std::holds_alternative<HttpResponse>(result)) << path;
    EXPECT_EQ(std::get<HttpResponse>(result).body.size(), 100000u);

    r.maxResponseBytes = 99999;  // one byte less: refused
    result = send(r);
    ASSERT_TRUE(std::holds_alternative<HttpError>(result)) << path;
    EXPECT_EQ(std::get<HttpError>(result).code, HttpError::Code::responseTooLarge) << path;
    EXPECT_EQ(failureText(std::get<HttpError>(result)),
              "服务器 127.0.0.1:" + std::to_string(server.port()) + " 返回的数据过大，已放弃。");
  }
  EXPECT_EQ(HttpRequest{}.maxResponseBytes, 16 * 1024 * 1024);  // every data task has a limit
}

// What an https request is redirected to, over a TLS server the session trusts.
class SecureRedirectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    identity = testing::makeLoopbackTlsIdentity(folder.path().string());
    if (!identity) GTEST_SKIP() << "no openssl program to make a test certificate";
    secure = std::make_unique<LocalHttpServer>(*identity);
    session = std::make_unique<CurlHttpSession>(loop, identity->certificateFile);
  }

  HttpResult get(const std::string& url) {
    std::optional<HttpResult> result;
    HttpRequest r;
    r.url = url;
    r.timeoutSeconds = 10;
    session->dataTask(r, [&](HttpResult answer) { result = std::move(answer); });
    EXPECT_TRUE(loop.runUntil([&] { return result.has_value(); }, Seconds(20)));
    return result.value_or(HttpError{});
  }

  TemporaryFolder folder;
  std::optional<testing::TlsIdentity> identity;
  LocalHttpServer plain;
  std::unique_ptr<LocalHttpServer> secure;
  RunLoop loop;
  std::unique_ptr<CurlHttpSession> session;
};

TEST_F(SecureRedirectTest, AnHttpsRequestIsNeverFollowedToPlainHttp) {
  ServerReply downgrade;
  downgrade.status = 302;
  downgrade.headers = {{"Location", plain.url("/package.pkg")}};
  secure->reply("GET", "/latest", downgrade);
  plain.reply("GET", "/package.pkg", ServerReply::json("{}"));

  const HttpResult result = get(secure->url("/latest"));
  ASSERT_TRUE(std::holds_alternative<HttpError>(result));
  EXPECT_EQ(std::get<HttpError>(result).code, HttpError::Code::insecureRedirect);
  EXPECT_NE(failureText(std::get<HttpError>(result)).find("不安全的地址"), std::string::npos);
  EXPECT_TRUE(plain.requests().empty());  // nothing was asked of the plain server
}

TEST_F(SecureRedirectTest, RedirectsThatStaySecureAreFollowed) {
  ServerReply moved;
  moved.status = 301;
  moved.headers = {{"Location", "/final"}};
  secure->reply("GET", "/start", moved);
  secure->reply("GET", "/final", ServerReply::json(R"({"secure":true})"));
  const HttpResult result = get(secure->url("/start"));
  ASSERT_TRUE(std::holds_alternative<HttpResponse>(result));
  EXPECT_EQ(std::get<HttpResponse>(result).body, R"({"secure":true})");
}

TEST(CurlHttpSessionShutdownTest, DestroyingTheSessionEndsHangingRequestsOnce) {
  LocalHttpServer server;
  server.hang("GET", "/slow");
  RunLoop loop;
  int completions = 0;
  std::optional<HttpError> error;
  {
    CurlHttpSession session(loop);
    HttpRequest r;
    r.url = server.url("/slow");
    r.timeoutSeconds = 60;
    session.dataTask(r, [&](HttpResult result) {
      ++completions;
      if (auto* e = std::get_if<HttpError>(&result)) error = *e;
    });
    ASSERT_TRUE(server.waitForRequests(1, std::chrono::seconds(5)));
  }  // joins within about a second, not a minute
  loop.runUntilIdle();
  EXPECT_EQ(completions, 1);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code, HttpError::Code::cancelled);
}

// Downloads -------------------------------------------------------------------------------

class CurlDownloadSessionTest : public ::testing::Test {
 protected:
  struct Outcome {
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;
    std::string finishedContent;
    bool finished = false;
    int status = 0;
    std::optional<HttpError> error;
    std::string tempPath;
    std::atomic<bool> completed{false};
    std::atomic<int> completions{0};
  };

  std::shared_ptr<DownloadTask> start(const std::string& url, Outcome& outcome,
                                      double timeout = 10) {
    DownloadRequest request;
    request.request.url = url;
    request.request.timeoutSeconds = timeout;
    request.request.headers = {{"User-Agent", "Ornavel/1.2"}};
    DownloadHandlers handlers;
    handlers.progress = [&outcome](std::int64_t written, std::int64_t expected) {
      outcome.progress.emplace_back(written, expected);
    };
    handlers.finished = [&outcome, this](const std::string& path, int status) {
      outcome.finished = true;
      outcome.status = status;
      outcome.tempPath = path;
      // Moving the file away is how callers keep it.
      std::filesystem::rename(path, folder / "kept.pkg");
      std::ifstream in(folder / "kept.pkg", std::ios::binary);
      outcome.finishedContent.assign(std::istreambuf_iterator<char>(in), {});
    };
    handlers.completed = [&outcome](std::optional<HttpError> error) {
      outcome.error = error;
      ++outcome.completions;
      outcome.completed = true;
    };
    return session.download(request, handlers);
  }

  static bool waitFor(const std::atomic<bool>& flag, std::chrono::seconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!flag && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return flag;
  }

  std::vector<std::string> leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temporary.path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  LocalHttpServer server;
  TemporaryFolder temporary;
  TemporaryFolder folder;
  CurlDownloadSession session{temporary.path()};
};

std::string packageBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 131) % 251);
  return bytes;
}

TEST_F(CurlDownloadSessionTest, WithLengthReportsGrowingProgressAndTheExpectedTotal) {
  const std::string body = packageBytes(300000);
  server.reply("GET", "/Ornavel-2.0.pkg", ServerReply{200, {}, body});
  Outcome outcome;
  start(server.url("/Ornavel-2.0.pkg"), outcome);
  ASSERT_TRUE(waitFor(outcome.completed, std::chrono::seconds(10)));

  EXPECT_EQ(outcome.error, std::nullopt);
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.status, 200);
  EXPECT_EQ(outcome.finishedContent, body);
  ASSERT_FALSE(outcome.progress.empty());
  for (std::size_t i = 1; i < outcome.progress.size(); ++i) {
    EXPECT_GT(outcome.progress[i].first, outcome.progress[i - 1].first);
  }
  EXPECT_EQ(outcome.progress.back().first, static_cast<std::int64_t>(body.size()));
  for (const auto& step : outcome.progress) {
    EXPECT_EQ(step.second, static_cast<std::int64_t>(body.size()));
  }
  EXPECT_EQ(server.requests()[0].header("User-Agent"), "Ornavel/1.2");
  EXPECT_EQ(outcome.completions, 1);
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(CurlDownloadSessionTest, WithoutLengthReportsMinusOneAsTheTotal) {
  ServerReply reply;
  reply.body = packageBytes(50000);
  reply.withoutLength = true;
  reply.chunkSize = 8192;
  server.reply("GET", "/chunked", reply);
  Outcome outcome;
  start(server.url("/chunked"), outcome);
  ASSERT_TRUE(waitFor(outcome.completed, std::chrono::seconds(10)));
  EXPECT_EQ(outcome.error, std::nullopt);
  EXPECT_EQ(outcome.finishedContent, reply.body);
  ASSERT_FALSE(outcome.progress.empty());
  for (const auto& step : outcome.progress)
    EXPECT_EQ(step.second, -1);
  EXPECT_EQ(outcome.progress.back().first, 50000);
}

TEST_F(CurlDownloadSessionTest, AnErrorPageIsDeliveredLikeAPackage) {
  Outcome outcome;
  start(server.url("/missing.pkg"), outcome);
  ASSERT_TRUE(waitFor(outcome.completed, std::chrono::seconds(10)));
  EXPECT_EQ(outcome.error, std::nullopt);
  EXPECT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.status, 404);
}

TEST_F(CurlDownloadSessionTest, CancelEndsTheDownloadWithoutFinishingAndCleansUp) {
  ServerReply slow;
  slow.body = packageBytes(100 * 1024);
  slow.withoutLength = true;
  slow.chunkSize = 1024;
  slow.chunkDelay = std::chrono::milliseconds(30);  // about three seconds in all
  server.reply("GET", "/slow.pkg", slow);
  Outcome outcome;
  auto task = start(server.url("/slow.pkg"), outcome);
  ASSERT_TRUE(server.waitForRequests(1, std::chrono::seconds(5)));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  task->cancel();
  ASSERT_TRUE(waitFor(outcome.completed, std::chrono::seconds(5)));
  ASSERT_TRUE(outcome.error.has_value());
  EXPECT_EQ(outcome.error->code, HttpError::Code::cancelled);
  EXPECT_FALSE(outcome.finished);
  EXPECT_EQ(outcome.completions, 1);
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(CurlDownloadSessionTest, TransportFailuresReachCompleted) {
  Outcome refused;
  start("http://127.0.0.1:" + std::to_string(testing::unusedLoopbackPort()) + "/x.pkg", refused);
  ASSERT_TRUE(waitFor(refused.completed, std::chrono::seconds(10)));
  ASSERT_TRUE(refused.error.has_value());
  EXPECT_EQ(refused.error->code, HttpError::Code::cannotConnect);
  EXPECT_FALSE(refused.finished);

  server.hang("GET", "/stuck.pkg");
  Outcome stuck;
  start(server.url("/stuck.pkg"), stuck, 1);
  ASSERT_TRUE(waitFor(stuck.completed, std::chrono::seconds(10)));
  ASSERT_TRUE(stuck.error.has_value());
  EXPECT_EQ(stuck.error->code, HttpError::Code::timedOut);
  EXPECT_TRUE(leftovers().empty());
}

}  // namespace
}  // namespace ornav::linux_platform
