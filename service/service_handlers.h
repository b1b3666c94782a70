// The service's answers, one handler per endpoint the application uses, independent of the HTTP
// library: a request in, a status and a body out. Every answer is JSON except the web page; a
// request that cannot be read gets a 4xx and stores nothing; a database that cannot do its part
// gives 503, never a success.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "rate_limiter.h"
#include "storage.h"

namespace ornav::service {

struct ServiceRequest {
  std::string method;  // HEAD is answered like GET
  std::string path;
  std::map<std::string, std::string> query;
  std::string body;
  std::string address;  // the client's, for the per-address limit
};

struct ServiceResponse {
  int status = 200;
  std::string contentType = "application/json";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

struct ServiceLimits {
  // Bodies: a forced upload carries every word a user has, the others are small.
  std::size_t uploadBodyBytes = 4 << 20;
  std::size_t feedbackBodyBytes = 64 << 10;
  std::size_t crashBodyBytes = 256 << 10;
  std::size_t uploadEntries = 20000;
  // Per device and hour; the application uploads twice an hour at most unless forced.
  std::int64_t uploadsPerHour = 12;
  std::int64_t feedbackPerHour = 5;
  std::int64_t crashReportsPerHour = 30;
  // Per client address and hour, over every request that stores something; 0: no limit.
  std::int64_t storingRequestsPerAddress = 600;
};

class ServiceHandlers {
 public:
  ServiceHandlers(Storage& storage, ServiceLimits limits,
                  std::function<std::int64_t()> clock = nullptr);

  ServiceResponse handle(const ServiceRequest& request);

  // Asked before a body is read: the largest body the route takes, or the answer for a request
  // that has no route (404 for an unknown path, 405 for a method the path does not take).
  std::variant<std::size_t, ServiceResponse> admit(const std::string& method,
                                                   const std::string& path) const;
  // The largest body any route takes.
  std::size_t largestBody() const;

 private:
  struct Route;
  static const std::vector<Route>& routes();

  ServiceResponse latest(const ServiceRequest& request);
  ServiceResponse dictionary(const ServiceRequest& request);
  ServiceResponse userDictionary(const ServiceRequest& request);
  ServiceResponse feedback(const ServiceRequest& request);
  ServiceResponse about(const ServiceRequest& request);
  ServiceResponse crash(const ServiceRequest& request);
  ServiceResponse page(const ServiceRequest& request);
  ServiceResponse health(const ServiceRequest& request);

  std::size_t bodyLimit(const Route& route) const;
  bool allowAddress(const ServiceRequest& request);

  Storage& storage_;
  ServiceLimits limits_;
  std::function<std::int64_t()> clock_;
  RateLimiter uploadsPerDevice_, feedbackPerDevice_, crashesPerDevice_, storingPerAddress_;
  // The dictionary's answer, serialised once per version.
  std::mutex dictionaryMutex_;
  std::int64_t dictionaryAnswerVersion_ = -1;
  std::shared_ptr<const std::string> dictionaryAnswer_;
};

}  // namespace ornav::service
