// The rules that turn URL loading on macOS into the HTTP ports' terms, kept apart from the
// Objective-C++ session code so they are tested everywhere: which failure kind a URL-loading error
// is, which addresses are refused before a request starts, when a redirect is refused, when a body
// is too large, and which time limit a time-out reports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/http_session.h"

namespace ornav::mac_platform {

// Foundation's URL-loading error codes (NSURLErrorDomain), under their Foundation names; the
// session code checks at compile time that they equal the SDK's values.
namespace UrlErrorCode {
inline constexpr long kCancelled = -999;
inline constexpr long kBadURL = -1000;
inline constexpr long kTimedOut = -1001;
inline constexpr long kUnsupportedURL = -1002;
inline constexpr long kCannotFindHost = -1003;
inline constexpr long kCannotConnectToHost = -1004;
inline constexpr long kNetworkConnectionLost = -1005;
inline constexpr long kDNSLookupFailed = -1006;
inline constexpr long kHTTPTooManyRedirects = -1007;
inline constexpr long kNotConnectedToInternet = -1009;
inline constexpr long kBadServerResponse = -1011;
inline constexpr long kInternationalRoamingOff = -1018;
inline constexpr long kCallIsActive = -1019;
inline constexpr long kDataNotAllowed = -1020;
inline constexpr long kAppTransportSecurityRequiresSecureConnection = -1022;
inline constexpr long kDataLengthExceedsMaximum = -1103;
inline constexpr long kSecureConnectionFailed = -1200;
inline constexpr long kServerCertificateHasBadDate = -1201;
inline constexpr long kServerCertificateUntrusted = -1202;
inline constexpr long kServerCertificateHasUnknownRoot = -1203;
inline constexpr long kServerCertificateNotYetValid = -1204;
inline constexpr long kClientCertificateRejected = -1205;
inline constexpr long kClientCertificateRequired = -1206;
inline constexpr long kCannotLoadFromNetwork = -2000;
inline constexpr long kCannotCreateFile = -3000;
inline constexpr long kCannotOpenFile = -3001;
inline constexpr long kCannotCloseFile = -3002;
inline constexpr long kCannotWriteToFile = -3003;
inline constexpr long kCannotRemoveFile = -3004;
inline constexpr long kCannotMoveFile = -3005;
}  // namespace UrlErrorCode

// The failure kind of a URL-loading error. `secureRequest`: the request was made to an https
// address (the system refuses plain http only after a redirect then).
HttpError::Code httpErrorCodeForUrlError(long code, bool secureRequest);

// The host of an absolute address with ":port" when it names one ("" when there is none).
std::string urlHost(std::string_view url);

// A failure with the address, its host and the transport's own words.
HttpError makeHttpError(HttpError::Code code, const std::string& url, std::string detail = {});

// Absent when `url` may be requested: a well-formed http or https address that names a host.
std::optional<HttpError> checkRequestUrl(const std::string& url);

// A request to an https address follows no redirect to any other scheme.
bool refusesRedirect(std::string_view requestUrl, std::string_view redirectUrl);

// More than `limit` bytes (-1: no limit). An unknown length (-1) never exceeds.
bool exceedsLimit(std::int64_t limit, std::int64_t bytes);

// The limit a time-out reports: the whole transfer's when it is the one that ran out (`elapsed`
// reached it), otherwise the idle time-out of the request.
double timedOutSeconds(double idleSeconds, std::optional<double> resourceSeconds, double elapsed);

}  // namespace ornav::mac_platform
