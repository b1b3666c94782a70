// HTTP(S) requests: one data task per request, answered exactly once on the main queue with either
// the server's response (any status; the caller decides what a status means) or a transport error.
//
// Every session follows redirects, except that a request to an https address never follows one
// to a plain http address: it fails with insecureRedirect, so what was asked for securely (an
// update package, say) never arrives over a path anyone on the network can tamper with.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace ornav {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

enum class CachePolicy {
  useProtocol,               // whatever HTTP caching rules allow
  reloadIgnoringLocalCache,  // always ask the origin server; never answer from a cache
};

// A body larger than any real answer of the service; a data task stops reading there.
inline constexpr std::int64_t kDefaultMaxResponseBytes = 16 * 1024 * 1024;

struct HttpRequest {
  std::string url = {};
  std::string method = "GET";
  HttpHeaders headers = {};
  std::string body = {};
  // Longest time without any progress (connecting, sending or receiving) before the request fails.
  double timeoutSeconds = 60;
  CachePolicy cachePolicy = CachePolicy::useProtocol;
  // Most body bytes accepted; a longer body (or a longer announced length) fails the request with
  // responseTooLarge, so a broken or hostile server cannot exhaust memory or disk. -1: no limit.
  std::int64_t maxResponseBytes = kDefaultMaxResponseBytes;
};

struct HttpResponse {
  int status = 0;
  HttpHeaders headers;  // as received, names in the server's spelling
  std::string body;

  // The first header of that name, compared without regard to case.
  std::optional<std::string> header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
      if (key.size() == name.size() &&
          std::equal(key.begin(), key.end(), name.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
          })) {
        return value;
      }
    }
    return std::nullopt;
  }
};

// A failed request: the kind of failure and its facts. The sentence a user reads is written from
// them by the portable code (failureText in services/http_failure.h), never by a platform.
struct HttpError {
  enum class Code {
    badUrl,
    unsupportedScheme,
    cannotFindHost,
    cannotConnect,
    timedOut,
    secureConnectionFailed,
    connectionLost,
    tooManyRedirects,
    insecureRedirect,  // an https request was redirected to a plain http address
    responseTooLarge,  // the body passed the request's limit
    cancelled,
    fileError,  // a download could not write its file
    other,
  };
  Code code = Code::other;
  std::string url = {};     // the address the request was made to
  std::string host = {};    // its host, with ":port" when the address names one; empty when unknown
  double seconds = 0;       // timedOut: the limit that ran out
  std::string detail = {};  // the transport's own words ("Connection refused"), may be empty
  friend bool operator==(const HttpError&, const HttpError&) = default;
};

using HttpResult = std::variant<HttpResponse, HttpError>;

class HttpSession {
 public:
  virtual ~HttpSession() = default;
  // Starts the request and returns at once. `completion` runs exactly once, on the main queue.
  virtual void dataTask(const HttpRequest& request, std::function<void(HttpResult)> completion) = 0;
};

// A running download; cancelling ends it with an HttpError of code `cancelled`.
class DownloadTask {
 public:
  virtual ~DownloadTask() = default;
  virtual void cancel() = 0;
};

struct DownloadRequest {
  // Its timeoutSeconds is the idle time-out; its maxResponseBytes bounds the file (-1 by default:
  // the caller sets a bound when it knows the size to expect).
  HttpRequest request = HttpRequest{.maxResponseBytes = -1};
  double resourceTimeoutSeconds = 3600;  // longest time for the whole download
};

// Callbacks of one download. All run on the download's own worker thread, one at a time, in this
// order: any number of `progress`, then `finished` if a whole response body arrived, then
// `completed` exactly once.
struct DownloadHandlers {
  // Bytes written so far and the expected total, or -1 when the server sent no length.
  std::function<void(std::int64_t written, std::int64_t expected)> progress;
  // The body is complete in the temporary file `path`; it is deleted once this returns, so move
  // it away inside the callback. `status` is the HTTP status, which is not examined here.
  std::function<void(const std::string& path, int status)> finished;
  // The end: no error after `finished`, or the transport error (cancel included).
  std::function<void(std::optional<HttpError> error)> completed;
};

class DownloadSession {
 public:
  virtual ~DownloadSession() = default;
  // Starts the download and returns at once.
  virtual std::shared_ptr<DownloadTask> download(const DownloadRequest& request,
                                                 DownloadHandlers handlers) = 0;
};

}  // namespace ornav
