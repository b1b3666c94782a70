// Feedback from the dialog, sent with the facts about the installation that help to answer it.
#include "services/feedback.h"
#include "services/http_failure.h"

#include <cmath>
#include <ctime>

#include "base/json_reading.h"
#include "base/text.h"
#include "base/url_text.h"
#include "diagnostics/logger.h"
#include "ports/system_info.h"
#include "services/service_client.h"
#include "services/service_operation_support.h"
#include "services/service_settings.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

const std::string kLastClientAppKey = "Ornavel.lastClientApp";
constexpr double kFeedbackTimeout = 12;

void finish(std::function<void(FeedbackResult)> completion, FeedbackResult result) {
  service_ops::postToMain(
      [completion = std::move(completion), result = std::move(result)] { completion(result); });
}

std::string operatingSystemVersion() {
  if (const SystemInfo* info = ServiceClient::current().systemInfo) return info->osVersion();
  return "0.0.0";
}

}  // namespace

namespace feedback {

std::string feedbackBody(const FeedbackFacts& facts) {
  nlohmann::json body = {
      {"message", facts.message}, {"contact", facts.contact}, {"version", facts.version},
      {"device", facts.device},   {"host", facts.host},       {"os", facts.os},
      {"time", facts.time},
  };
  return json_reading::serialize(body);
}

std::string iso8601UTC(double secondsSince1970) {
  const std::time_t seconds = static_cast<std::time_t>(std::floor(secondsSince1970));
  std::tm utc{};
  if (gmtime_r(&seconds, &utc) == nullptr) return {};
  char text[32] = {};
  const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string(text, length);
}

FeedbackResult readFeedbackAnswer(std::string_view body) {
  std::optional<nlohmann::json> answer = json_reading::parseObject(body);
  if (!answer) return FeedbackResult::failure("反馈服务返回格式错误");
  std::optional<std::string> message = json_reading::string(*answer, "message");
  if (json_reading::isTrue(*answer, "ok")) {
    return FeedbackResult::success(message.value_or("反馈已提交，感谢你的帮助。"));
  }
  return FeedbackResult::failure(message.value_or("提交失败，请稍后重试"));
}

}  // namespace feedback

void UpdateServiceOperations::submitFeedback(const std::string& message, const std::string& contact,
                                             std::function<void(FeedbackResult)> completion) {
  feedback::FeedbackFacts facts;
  facts.message = trimWhitespaceAndNewlines(message);
  facts.contact = trimWhitespaceAndNewlines(contact);
  if (facts.message.empty()) {
    finish(std::move(completion), FeedbackResult::failure("请先输入反馈内容"));
    return;
  }
  const std::string url = UpdateService::feedbackSubmitURL();
  if (!url_text::isUsableEndpoint(url)) {
    finish(std::move(completion), FeedbackResult::failure("反馈服务尚未配置"));
    return;
  }
  facts.version = UpdateService::currentVersion();
  facts.device = UpdateService::deviceID();
  facts.host = service_settings::stringOr(kLastClientAppKey, "");
  facts.os = operatingSystemVersion();
  facts.time = feedback::iso8601UTC(service_ops::nowSeconds());

  HttpRequest request;
  request.url = url;
  request.method = "POST";
  request.headers = {{"Content-Type", "application/json"}};
  request.body = feedback::feedbackBody(facts);
  request.cachePolicy = CachePolicy::useProtocol;
  request.timeoutSeconds = service_ops::timeout(kFeedbackTimeout);

  service_ops::send(request, [completion = std::move(completion)](HttpResult result) mutable {
    if (const auto* error = std::get_if<HttpError>(&result)) {
      Logger::write("提交反馈失败：" + failureText(*error));
      finish(std::move(completion), FeedbackResult::failure(failureText(*error)));
      return;
    }
    finish(std::move(completion),
           feedback::readFeedbackAnswer(std::get<HttpResponse>(result).body));
  });
}

}  // namespace ornav
