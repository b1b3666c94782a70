#include "platform/linux/curl_transfer.h"

#include <curl/curl.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>

namespace ornav::linux_platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

void initCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isSecure(const std::string& url) {
  return url.size() >= 6 && (url.compare(0, 6, "https:") == 0 || url.compare(0, 6, "HTTPS:") == 0);
}

struct UrlParts {
  std::string scheme;
  std::string host;  // with ":port" when the address names one
};

std::optional<UrlParts> parseUrl(const std::string& url) {
  initCurlOnce();
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), curl_url_cleanup);
  if (!handle || url.empty()) return std::nullopt;
  // Only absolute addresses; no guessing of a scheme.
  if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return std::nullopt;
  UrlParts parts;
  char* text = nullptr;
  if (curl_url_get(handle.get(), CURLUPART_SCHEME, &text, 0) == CURLUE_OK) {
    parts.scheme = text;
    curl_free(text);
  }
  if (curl_url_get(handle.get(), CURLUPART_HOST, &text, 0) == CURLUE_OK) {
    parts.host = text;
    curl_free(text);
  }
  if (curl_url_get(handle.get(), CURLUPART_PORT, &text, 0) == CURLUE_OK) {
    parts.host += std::string(":") + text;
    curl_free(text);
  }
  return parts;
}

HttpError makeError(HttpError::Code code, const std::string& url, std::string detail = {}) {
  HttpError error;
  error.code = code;
  error.url = url;
  if (auto parts = parseUrl(url)) error.host = parts->host;
  error.detail = std::move(detail);
  return error;
}

// Per-transfer state reached from libcurl's callbacks.
struct Context {
  const TransferOptions* options = nullptr;
  CURL* curl = nullptr;
  double idleSeconds = 60;
  SteadyClock::time_point started = SteadyClock::now();
  SteadyClock::time_point lastActivity = started;
  curl_off_t lastDown = -1;
  curl_off_t lastUp = -1;
  bool idleTimedOut = false;
  bool sinkFailed = false;
  bool tooLarge = false;
  std::int64_t received = 0;
  int status = 0;
  HttpHeaders headers;
};

thread_local Context* currentContext = nullptr;

bool isCancelled(const Context& context) {
  return context.options->cancelled && context.options->cancelled();
}

int onProgress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
  auto& context = *static_cast<Context*>(user);
  if (isCancelled(context)) return 1;
  auto now = SteadyClock::now();
  if (down != context.lastDown || up != context.lastUp) {
    context.lastDown = down;
    context.lastUp = up;
    context.lastActivity = now;
  } else if (std::chrono::duration<double>(now - context.lastActivity).count() >=
             context.idleSeconds) {
    context.idleTimedOut = true;
    return 1;
  }
  return 0;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& context = *static_cast<Context*>(user);
  const std::size_t bytes = size * count;
  if (isCancelled(context)) return 0;
  context.lastActivity = SteadyClock::now();
  // Counted after decoding, so a small compressed body cannot unpack into an endless one.
  context.received += static_cast<std::int64_t>(bytes);
  const std::int64_t limit = context.options->request.maxResponseBytes;
  if (limit >= 0 && context.received > limit) {
    context.tooLarge = true;
    return 0;
  }
  if (context.options->sink && !context.options->sink(data, bytes)) {
    context.sinkFailed = true;
    return 0;
  }
  return bytes;
}

std::string trim(std::string text) {
  const char* space = " \t\r\n";
  auto first = text.find_first_not_of(space);
  if (first == std::string::npos) return "";
  auto last = text.find_last_not_of(space);
  return text.substr(first, last - first + 1);
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto& context = *static_cast<Context*>(user);
  const std::size_t bytes = size * count;
  std::string line(data, bytes);
  context.lastActivity = SteadyClock::now();
  if (line.rfind("HTTP/", 0) == 0) {
    // A new response (after a redirect or an interim 1xx answer) replaces the headers seen so far.
    context.headers.clear();
    auto space = line.find(' ');
    context.status = space == std::string::npos ? 0 : std::atoi(line.c_str() + space + 1);
    return bytes;
  }
  auto colon = line.find(':');
  if (colon != std::string::npos && colon > 0) {
    context.headers.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
  }
  return bytes;
}

bool hasHeader(const HttpHeaders& headers, const std::string& name) {
  HttpResponse probe{0, headers, ""};
  return probe.header(name).has_value();
}

HttpError describe(CURLcode code, const Context& context, const std::string& url,
                   const char* detail) {
  const std::string why = detail && *detail ? detail : curl_easy_strerror(code);
  if (isCancelled(context)) return makeError(HttpError::Code::cancelled, url);
  if (context.idleTimedOut || code == CURLE_OPERATION_TIMEDOUT) {
    // The whole-transfer limit, when it is the one that ran out; otherwise the idle (or connect)
    // time-out of the request.
    const auto& limit = context.options->resourceTimeoutSeconds;
    const double elapsed =
        std::chrono::duration<double>(SteadyClock::now() - context.started).count();
    const bool wholeTransfer = !context.idleTimedOut && limit && elapsed + 0.05 >= *limit;
    HttpError error = makeError(HttpError::Code::timedOut, url);
    error.seconds = wholeTransfer ? *limit : context.idleSeconds;
    return error;
  }
  if (context.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    return makeError(HttpError::Code::responseTooLarge, url);
  }
  if (context.sinkFailed) return makeError(HttpError::Code::fileError, url);
  switch (code) {
    case CURLE_URL_MALFORMAT:
      return makeError(HttpError::Code::badUrl, url);
    case CURLE_UNSUPPORTED_PROTOCOL:
      // The address itself was checked before the transfer, so this is where a redirect led; an
      // https request may only be redirected to https.
      if (isSecure(url)) return makeError(HttpError::Code::insecureRedirect, url, why);
      return makeError(HttpError::Code::unsupportedScheme, url);
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return makeError(HttpError::Code::cannotFindHost, url, why);
    case CURLE_COULDNT_CONNECT:
      return makeError(HttpError::Code::cannotConnect, url, why);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return makeError(HttpError::Code::secureConnectionFailed, url, why);
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
      return makeError(HttpError::Code::connectionLost, url, why);
    case CURLE_TOO_MANY_REDIRECTS:
      return makeError(HttpError::Code::tooManyRedirects, url, why);
    default:
      return makeError(HttpError::Code::other, url, why);
  }
}

}  // namespace

std::optional<HttpError> checkUrl(const std::string& url) {
  auto parts = parseUrl(url);
  if (!parts) return HttpError{.code = HttpError::Code::badUrl, .url = url};
  if (parts->scheme != "http" && parts->scheme != "https") {
    return makeError(HttpError::Code::unsupportedScheme, url);
  }
  if (parts->host.empty()) return makeError(HttpError::Code::badUrl, url);
  return std::nullopt;
}

std::int64_t currentExpectedLength() {
  if (!currentContext || !currentContext->curl) return -1;
  curl_off_t length = -1;
  if (curl_easy_getinfo(currentContext->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) !=
      CURLE_OK) {
    return -1;
  }
  return length >= 0 ? static_cast<std::int64_t>(length) : -1;
}

TransferOutcome runTransfer(const TransferOptions& options) {
  TransferOutcome outcome;
  const HttpRequest& request = options.request;
  if (auto bad = checkUrl(request.url)) {
    outcome.error = bad;
    return outcome;
  }
  initCurlOnce();
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    outcome.error = makeError(HttpError::Code::other, request.url, "curl_easy_init");
    return outcome;
  }
  Context context;
  context.options = &options;
  context.curl = curl.get();
  context.idleSeconds = request.timeoutSeconds > 0 ? request.timeoutSeconds : 60;
  char errorText[CURL_ERROR_SIZE] = {0};

  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  // A request made over https never follows a redirect down to plain http: what was asked for
  // securely (an update package, say) must not arrive over a path anyone can tamper with.
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, isSecure(request.url) ? "https" : "http,https");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 16L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  if (options.trustedCertificates) {
    curl_easy_setopt(c, CURLOPT_CAINFO, options.trustedCertificates->c_str());
  }
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(std::ceil(context.idleSeconds * 1000)));
  if (options.resourceTimeoutSeconds) {
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(std::ceil(*options.resourceTimeoutSeconds * 1000)));
  }
  if (options.acceptCompressed) curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
  if (request.maxResponseBytes >= 0) {
    // Refused before the body comes when the server announces a longer one.
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(request.maxResponseBytes));
  }
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &context);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &context);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &context);

  if (request.method == "GET") {
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  } else if (request.method == "HEAD") {
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
  } else {
    if (request.method == "POST") {
      curl_easy_setopt(c, CURLOPT_POST, 1L);
    } else {
      curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    if (request.method == "POST" || !request.body.empty()) {
      curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.data());
      curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE,
                       static_cast<curl_off_t>(request.body.size()));
    }
  }

  // Headers: the caller's, the no-cache pair for a reload that ignores caches, and no
  // "Expect: 100-continue" round trip for bodies.
  HttpHeaders headers = request.headers;
  if (request.cachePolicy == CachePolicy::reloadIgnoringLocalCache) {
    if (!hasHeader(headers, "Cache-Control")) headers.emplace_back("Cache-Control", "no-cache");
    if (!hasHeader(headers, "Pragma")) headers.emplace_back("Pragma", "no-cache");
  }
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> list(nullptr, curl_slist_free_all);
  auto append = [&list](const std::string& line) {
    if (auto* grown = curl_slist_append(list.get(), line.c_str())) {
      list.release();
      list.reset(grown);
    }
  };
  for (const auto& [name, value] : headers) {
    // A header line may not carry line breaks; such a header is dropped rather than sent split.
    if ((name + value).find_first_of("\r\n") != std::string::npos || name.empty()) continue;
    append(value.empty() ? name + ";" : name + ": " + value);
  }
  if (!hasHeader(headers, "Expect")) append("Expect:");
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, list.get());

  currentContext = &context;
  CURLcode code = curl_easy_perform(c);
  currentContext = nullptr;

  outcome.status = context.status;
  outcome.headers = std::move(context.headers);
  curl_off_t length = -1;
  if (curl_easy_getinfo(c, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK) {
    outcome.expectedLength = length >= 0 ? static_cast<std::int64_t>(length) : -1;
  }
  if (code != CURLE_OK) outcome.error = describe(code, context, request.url, errorText);
  return outcome;
}

}  // namespace ornav::linux_platform
