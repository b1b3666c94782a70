#include "service_handlers.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "base/json_reading.h"
#include "crash_signature.h"
#include "service_log.h"
#include "web_page.h"

namespace ornav::service {
namespace {

using nlohmann::json;

constexpr std::int64_t kHour = 3600;

enum class Body { none, upload, feedback, crash };

ServiceResponse answer(int status, const json& body) {
  ServiceResponse response;
  response.status = status;
  response.body = json_reading::serialize(body);
  // Answers change with every upload and build; no cache between the application and the
  // service may keep one.
  response.headers.emplace_back("Cache-Control", "no-store");
  return response;
}

ServiceResponse refusal(int status, const std::string& error, const char* message = nullptr) {
  json body = {{"ok", false}, {"error", error}};
  // The application shows "message" to the user as it is.
  if (message != nullptr) body["message"] = message;
  return answer(status, body);
}

ServiceResponse accepted() {
  return answer(200, {{"ok", true}});
}

}  // namespace

struct ServiceHandlers::Route {
  const char* path;
  const char* method;
  ServiceResponse (ServiceHandlers::*handler)(const ServiceRequest&);
  Body body;
};

const std::vector<ServiceHandlers::Route>& ServiceHandlers::routes() {
  static const std::vector<Route> table = {
      {"/api/ornav-ime/latest", "GET", &ServiceHandlers::latest, Body::none},
      {"/api/ornav-ime/dict", "GET", &ServiceHandlers::dictionary, Body::none},
      {"/api/ornav-ime/user-dict", "POST", &ServiceHandlers::userDictionary, Body::upload},
      {"/api/ornav-ime/feedback", "POST", &ServiceHandlers::feedback, Body::feedback},
      {"/api/ornav-ime/about", "GET", &ServiceHandlers::about, Body::none},
      {"/api/ornav-ime/crash", "POST", &ServiceHandlers::crash, Body::crash},
      {"/", "GET", &ServiceHandlers::page, Body::none},
      {"/healthz", "GET", &ServiceHandlers::health, Body::none},
  };
  return table;
}

ServiceHandlers::ServiceHandlers(Storage& storage, ServiceLimits limits,
                                 std::function<std::int64_t()> clock)
    : storage_(storage),
      limits_(limits),
      clock_(clock ? std::move(clock) : wallClockSeconds),
      uploadsPerDevice_(limits.uploadsPerHour, kHour),
      feedbackPerDevice_(limits.feedbackPerHour, kHour),
      crashesPerDevice_(limits.crashReportsPerHour, kHour),
      storingPerAddress_(limits.storingRequestsPerAddress, kHour) {}

std::size_t ServiceHandlers::bodyLimit(const Route& route) const {
  switch (route.body) {
    case Body::upload:
      return limits_.uploadBodyBytes;
    case Body::feedback:
      return limits_.feedbackBodyBytes;
    case Body::crash:
      return limits_.crashBodyBytes;
    case Body::none:
      break;
  }
  return 0;
}

std::size_t ServiceHandlers::largestBody() const {
  return std::max({limits_.uploadBodyBytes, limits_.feedbackBodyBytes, limits_.crashBodyBytes});
}

std::variant<std::size_t, ServiceResponse> ServiceHandlers::admit(const std::string& method,
                                                                  const std::string& path) const {
  const std::string asked = method == "HEAD" ? "GET" : method;
  const Route* known = nullptr;
  for (const Route& route : routes()) {
    if (path != route.path) continue;
    if (asked == route.method) return bodyLimit(route);
    known = &route;
  }
  if (known == nullptr) return refusal(404, "no such endpoint");
  ServiceResponse response = refusal(405, "method not allowed");
  response.headers.emplace_back("Allow", known->method);
  return response;
}

ServiceResponse ServiceHandlers::handle(const ServiceRequest& request) {
  auto admitted = admit(request.method, request.path);
  if (auto* refused = std::get_if<ServiceResponse>(&admitted)) return std::move(*refused);
  if (request.body.size() > std::get<std::size_t>(admitted)) {
    return refusal(413, "the body is too large", "内容过长，请删减后再提交。");
  }
  const std::string asked = request.method == "HEAD" ? "GET" : request.method;
  for (const Route& route : routes()) {
    if (request.path != route.path || asked != route.method) continue;
    try {
      return (this->*route.handler)(request);
    } catch (const StorageError& error) {
      logLine(request.method + " " + request.path + ": 503: " + error.what());
      ServiceResponse response = refusal(503, "the database is unavailable");
      response.headers.emplace_back("Retry-After", "60");
      return response;
    }
  }
  return refusal(404, "no such endpoint");
}

bool ServiceHandlers::allowAddress(const ServiceRequest& request) {
  return storingPerAddress_.allow(request.address, clock_());
}

ServiceResponse ServiceHandlers::latest(const ServiceRequest&) {
  const std::optional<Release> release = storage_.latestRelease();
  // Nothing published: no version is newer than the running one.
  if (!release) return answer(200, {{"version", "0"}});
  json body = {{"version", release->version},
               {"url", release->url},
               {"sha256", release->sha256},
               {"notes", release->notes}};
  if (release->sizeMB) body["fileSizeMB"] = *release->sizeMB;
  return answer(200, body);
}

// The application replaces its whole cloud dictionary with what it receives, so a client that
// is not current gets the whole table, never a difference.
ServiceResponse ServiceHandlers::dictionary(const ServiceRequest& request) {
  const std::int64_t version = storage_.dictionaryVersion();
  const auto since = request.query.find("since");
  if (since != request.query.end() && since->second == std::to_string(version)) {
    return answer(200, {{"version", std::to_string(version)}, {"unchanged", true}});
  }
  const std::shared_ptr<const Dictionary> dictionary = storage_.dictionary();
  std::shared_ptr<const std::string> body;
  {
    std::lock_guard lock(dictionaryMutex_);
    if (dictionaryAnswerVersion_ != dictionary->version) {
      dictionaryAnswer_ = std::make_shared<const std::string>(json_reading::serialize(
          {{"version", std::to_string(dictionary->version)}, {"tsv", dictionary->tsv}}));
      dictionaryAnswerVersion_ = dictionary->version;
    }
    body = dictionaryAnswer_;
  }
  ServiceResponse response = answer(200, json::object());
  response.body = *body;
  return response;
}

ServiceResponse ServiceHandlers::userDictionary(const ServiceRequest& request) {
  if (!allowAddress(request)) return refusal(429, "too many requests");
  auto read = readUpload(request.body, limits_.uploadEntries, kDeviceWordCap);
  if (auto* bad = std::get_if<BadRequest>(&read)) return refusal(bad->status, bad->reason);
  const UploadRequest& upload = std::get<UploadRequest>(read);
  if (!uploadsPerDevice_.allow(upload.device, clock_())) return refusal(429, "too many uploads");
  storage_.recordUpload(upload, clock_());
  return answer(200, {{"ok", true}, {"words", upload.entries.size()}});
}

ServiceResponse ServiceHandlers::feedback(const ServiceRequest& request) {
  constexpr const char* kTooOften = "提交过于频繁，请稍后再试。";
  if (!allowAddress(request)) return refusal(429, "too many requests", kTooOften);
  auto read = readFeedback(request.body);
  if (auto* bad = std::get_if<BadRequest>(&read)) return refusal(bad->status, bad->reason);
  const FeedbackRequest& feedback = std::get<FeedbackRequest>(read);
  if (!feedbackPerDevice_.allow(feedback.device, clock_())) {
    return refusal(429, "too much feedback", kTooOften);
  }
  storage_.recordFeedback(feedback, clock_());
  return accepted();
}

ServiceResponse ServiceHandlers::crash(const ServiceRequest& request) {
  if (!allowAddress(request)) return refusal(429, "too many requests");
  auto read = readCrashReport(request.body);
  if (auto* bad = std::get_if<BadRequest>(&read)) return refusal(bad->status, bad->reason);
  const CrashReport& report = std::get<CrashReport>(read);
  if (!crashesPerDevice_.allow(report.device, clock_())) {
    return refusal(429, "too many crash reports");
  }
  // A report sent again (its answer was lost) is acknowledged again and kept once.
  storage_.recordCrash(report, crashSignature(report), clock_());
  return accepted();
}

ServiceResponse ServiceHandlers::about(const ServiceRequest&) {
  const AboutText about = storage_.about();
  json body = json::object();
  if (about.title) body["title"] = *about.title;
  if (about.description) body["description"] = *about.description;
  if (about.copyright) body["copyright"] = *about.copyright;
  return answer(200, body);
}

ServiceResponse ServiceHandlers::page(const ServiceRequest&) {
  ServiceResponse response;
  response.contentType = "text/html; charset=utf-8";
  response.body = webPage(storage_.about());
  return response;
}

ServiceResponse ServiceHandlers::health(const ServiceRequest&) {
  storage_.check();
  return accepted();
}

}  // namespace ornav::service
