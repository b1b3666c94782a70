#import "platform/mac/url_session_support.h"

#include "base/url_text.h"
#import "platform/mac/foundation_text.h"
#include "platform/mac/url_loading_rules.h"

namespace ornav::mac_platform {

// The rules name Foundation's codes as plain numbers; they must be Foundation's.
static_assert(UrlErrorCode::kCancelled == NSURLErrorCancelled);
static_assert(UrlErrorCode::kBadURL == NSURLErrorBadURL);
static_assert(UrlErrorCode::kTimedOut == NSURLErrorTimedOut);
static_assert(UrlErrorCode::kUnsupportedURL == NSURLErrorUnsupportedURL);
static_assert(UrlErrorCode::kCannotFindHost == NSURLErrorCannotFindHost);
static_assert(UrlErrorCode::kCannotConnectToHost == NSURLErrorCannotConnectToHost);
static_assert(UrlErrorCode::kNetworkConnectionLost == NSURLErrorNetworkConnectionLost);
static_assert(UrlErrorCode::kDNSLookupFailed == NSURLErrorDNSLookupFailed);
static_assert(UrlErrorCode::kHTTPTooManyRedirects == NSURLErrorHTTPTooManyRedirects);
static_assert(UrlErrorCode::kNotConnectedToInternet == NSURLErrorNotConnectedToInternet);
static_assert(UrlErrorCode::kBadServerResponse == NSURLErrorBadServerResponse);
static_assert(UrlErrorCode::kInternationalRoamingOff == NSURLErrorInternationalRoamingOff);
static_assert(UrlErrorCode::kCallIsActive == NSURLErrorCallIsActive);
static_assert(UrlErrorCode::kDataNotAllowed == NSURLErrorDataNotAllowed);
static_assert(UrlErrorCode::kAppTransportSecurityRequiresSecureConnection ==
              NSURLErrorAppTransportSecurityRequiresSecureConnection);
static_assert(UrlErrorCode::kDataLengthExceedsMaximum == NSURLErrorDataLengthExceedsMaximum);
static_assert(UrlErrorCode::kSecureConnectionFailed == NSURLErrorSecureConnectionFailed);
static_assert(UrlErrorCode::kServerCertificateHasBadDate == NSURLErrorServerCertificateHasBadDate);
static_assert(UrlErrorCode::kServerCertificateUntrusted == NSURLErrorServerCertificateUntrusted);
static_assert(UrlErrorCode::kServerCertificateHasUnknownRoot ==
              NSURLErrorServerCertificateHasUnknownRoot);
static_assert(UrlErrorCode::kServerCertificateNotYetValid ==
              NSURLErrorServerCertificateNotYetValid);
static_assert(UrlErrorCode::kClientCertificateRejected == NSURLErrorClientCertificateRejected);
static_assert(UrlErrorCode::kClientCertificateRequired == NSURLErrorClientCertificateRequired);
static_assert(UrlErrorCode::kCannotLoadFromNetwork == NSURLErrorCannotLoadFromNetwork);
static_assert(UrlErrorCode::kCannotCreateFile == NSURLErrorCannotCreateFile);
static_assert(UrlErrorCode::kCannotOpenFile == NSURLErrorCannotOpenFile);
static_assert(UrlErrorCode::kCannotCloseFile == NSURLErrorCannotCloseFile);
static_assert(UrlErrorCode::kCannotWriteToFile == NSURLErrorCannotWriteToFile);
static_assert(UrlErrorCode::kCannotRemoveFile == NSURLErrorCannotRemoveFile);
static_assert(UrlErrorCode::kCannotMoveFile == NSURLErrorCannotMoveFile);

NSMutableURLRequest* urlRequestFor(NSURL* url, const HttpRequest& request) {
  NSMutableURLRequest* urlRequest = [NSMutableURLRequest requestWithURL:url];
  urlRequest.HTTPMethod = toNSString(request.method);
  // Added, not set: a header named twice is sent twice.
  for (const auto& [name, value] : request.headers) {
    [urlRequest addValue:toNSString(value) forHTTPHeaderField:toNSString(name)];
  }
  if (!request.body.empty()) {
    urlRequest.HTTPBody = [NSData dataWithBytes:request.body.data() length:request.body.size()];
  }
  if (request.timeoutSeconds > 0) urlRequest.timeoutInterval = request.timeoutSeconds;
  urlRequest.cachePolicy = request.cachePolicy == CachePolicy::reloadIgnoringLocalCache
                               ? NSURLRequestReloadIgnoringLocalCacheData
                               : NSURLRequestUseProtocolCachePolicy;
  return urlRequest;
}

HttpHeaders headersOf(NSURLResponse* response) {
  HttpHeaders headers;
  if (![response isKindOfClass:[NSHTTPURLResponse class]]) return headers;
  NSDictionary* fields = ((NSHTTPURLResponse*)response).allHeaderFields;
  for (id name in fields) {
    id value = fields[name];
    if ([name isKindOfClass:[NSString class]] && [value isKindOfClass:[NSString class]]) {
      headers.emplace_back(toStdString(name), toStdString(value));
    }
  }
  return headers;
}

int statusOf(NSURLResponse* response) {
  if (![response isKindOfClass:[NSHTTPURLResponse class]]) return 0;
  return static_cast<int>(((NSHTTPURLResponse*)response).statusCode);
}

HttpError httpErrorFor(NSError* error, const TaskStop& stop, const HttpRequest& request,
                       std::optional<double> resourceTimeoutSeconds,
                       std::chrono::steady_clock::time_point started) {
  if (stop.code) return makeHttpError(*stop.code, request.url);
  const bool secure = url_text::scheme(request.url) == "https";
  HttpError::Code code = HttpError::Code::other;
  if ([error.domain isEqualToString:NSURLErrorDomain]) {
    code = httpErrorCodeForUrlError(static_cast<long>(error.code), secure);
  }
  HttpError failure = makeHttpError(
      code, request.url,
      code == HttpError::Code::cancelled ? "" : toStdString(error.localizedDescription));
  if (code == HttpError::Code::timedOut) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    failure.seconds =
        timedOutSeconds(request.timeoutSeconds, resourceTimeoutSeconds, elapsed.count());
  }
  return failure;
}

void decideRedirect(NSURLSessionTask* task, NSURLRequest* redirect, const HttpRequest& request,
                    TaskStop& stop, void (^completionHandler)(NSURLRequest* _Nullable)) {
  if (!refusesRedirect(request.url, toStdString(redirect.URL.absoluteString))) {
    completionHandler(redirect);
    return;
  }
  stop.code = HttpError::Code::insecureRedirect;
  completionHandler(nil);
  [task cancel];
}

}  // namespace ornav::mac_platform
