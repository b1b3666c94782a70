#include "platform/mac/url_loading_rules.h"

#include <utility>

#include "base/url_text.h"

namespace ornav::mac_platform {

using Code = HttpError::Code;

HttpError::Code httpErrorCodeForUrlError(long code, bool secureRequest) {
  switch (code) {
    case UrlErrorCode::kCancelled:
      return Code::cancelled;
    case UrlErrorCode::kBadURL:
      return Code::badUrl;
    case UrlErrorCode::kUnsupportedURL:
      return Code::unsupportedScheme;
    case UrlErrorCode::kCannotFindHost:
    case UrlErrorCode::kDNSLookupFailed:
      return Code::cannotFindHost;
    case UrlErrorCode::kCannotConnectToHost:
    case UrlErrorCode::kNotConnectedToInternet:
    case UrlErrorCode::kCannotLoadFromNetwork:
    case UrlErrorCode::kInternationalRoamingOff:
    case UrlErrorCode::kCallIsActive:
    case UrlErrorCode::kDataNotAllowed:
      return Code::cannotConnect;
    case UrlErrorCode::kTimedOut:
      return Code::timedOut;
    case UrlErrorCode::kSecureConnectionFailed:
    case UrlErrorCode::kServerCertificateHasBadDate:
    case UrlErrorCode::kServerCertificateUntrusted:
    case UrlErrorCode::kServerCertificateHasUnknownRoot:
    case UrlErrorCode::kServerCertificateNotYetValid:
    case UrlErrorCode::kClientCertificateRejected:
    case UrlErrorCode::kClientCertificateRequired:
      return Code::secureConnectionFailed;
    case UrlErrorCode::kNetworkConnectionLost:
    case UrlErrorCode::kBadServerResponse:
      return Code::connectionLost;
    case UrlErrorCode::kHTTPTooManyRedirects:
      return Code::tooManyRedirects;
    case UrlErrorCode::kAppTransportSecurityRequiresSecureConnection:
      // An https request only meets plain http through a redirect.
      return secureRequest ? Code::insecureRedirect : Code::other;
    case UrlErrorCode::kDataLengthExceedsMaximum:
      return Code::responseTooLarge;
    case UrlErrorCode::kCannotCreateFile:
    case UrlErrorCode::kCannotOpenFile:
    case UrlErrorCode::kCannotCloseFile:
    case UrlErrorCode::kCannotWriteToFile:
    case UrlErrorCode::kCannotRemoveFile:
    case UrlErrorCode::kCannotMoveFile:
      return Code::fileError;
    default:
      return Code::other;
  }
}

std::string urlHost(std::string_view url) {
  const std::size_t colon = url.find(':');
  if (colon == std::string_view::npos || url.substr(colon + 1, 2) != "//") return {};
  std::string_view authority = url.substr(colon + 3);
  authority = authority.substr(0, authority.find_first_of("/?#"));
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  // "host:" names no port; a bracketed IPv6 literal keeps its colons.
  if (!authority.empty() && authority.back() == ':') authority.remove_suffix(1);
  return std::string(authority);
}

HttpError makeHttpError(HttpError::Code code, const std::string& url, std::string detail) {
  HttpError error;
  error.code = code;
  error.url = url;
  error.host = urlHost(url);
  error.detail = std::move(detail);
  return error;
}

std::optional<HttpError> checkRequestUrl(const std::string& url) {
  if (!url_text::isWellFormed(url)) return makeHttpError(Code::badUrl, url);
  const std::optional<std::string> scheme = url_text::scheme(url);
  if (!scheme) return makeHttpError(Code::badUrl, url);
  if (*scheme != "http" && *scheme != "https") return makeHttpError(Code::unsupportedScheme, url);
  const std::string host = urlHost(url);
  if (host.empty() || host.front() == ':') return makeHttpError(Code::badUrl, url);
  return std::nullopt;
}

bool refusesRedirect(std::string_view requestUrl, std::string_view redirectUrl) {
  return url_text::scheme(requestUrl) == "https" && url_text::scheme(redirectUrl) != "https";
}

bool exceedsLimit(std::int64_t limit, std::int64_t bytes) {
  return limit >= 0 && bytes > limit;
}

double timedOutSeconds(double idleSeconds, std::optional<double> resourceSeconds, double elapsed) {
  // A little slack: the system's own timer fires a moment before or after the limit.
  if (resourceSeconds && elapsed + 0.05 >= *resourceSeconds) return *resourceSeconds;
  return idleSeconds;
}

}  // namespace ornav::mac_platform
