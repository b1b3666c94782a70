// The shared cloud dictionary: fetched only when the service holds a newer version than the one
// the user merged last. The merge itself, and storing the new version after it, are the caller's.
#include "services/cloud_dict.h"
#include "services/http_failure.h"

#include "base/json_reading.h"
#include "base/url_text.h"
#include "diagnostics/logger.h"
#include "services/service_client.h"
#include "services/service_operation_support.h"
#include "services/service_settings.h"
#include "services/update_service.h"

namespace ornav {
namespace {

const std::string kOnlineDictEnabledKey = "Ornavel.onlineDictEnabled";
const std::string kCloudDictVersionKey = "Ornavel.cloudDictVersion";
constexpr double kCloudDictTimeout = 15;

void finish(std::function<void(std::optional<CloudDict>)> completion,
            std::optional<CloudDict> result) {
  service_ops::postToMain(
      [completion = std::move(completion), result = std::move(result)] { completion(result); });
}

bool isUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

namespace cloud_dict {

CloudDictAnswer readCloudDictAnswer(std::string_view body) {
  CloudDictAnswer answer;
  std::optional<nlohmann::json> object = json_reading::parseObject(body);
  if (!object) return answer;
  std::optional<std::string> version = json_reading::string(*object, "version");
  if (!version) return answer;
  answer.dict.version = *version;
  if (json_reading::isTrue(*object, "unchanged")) {
    answer.kind = CloudDictAnswer::Kind::unchanged;
    return answer;
  }
  answer.kind = CloudDictAnswer::Kind::dictionary;
  answer.dict.tsv = json_reading::stringOr(*object, "tsv", "");
  return answer;
}

std::string cloudDictRequestURL(const std::string& endpoint, std::string_view since) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = endpoint;
  url += endpoint.find('?') == std::string::npos ? '?' : '&';
  url += "since=";
  for (unsigned char c : since) {
    if (isUnreserved(c)) {
      url.push_back(static_cast<char>(c));
    } else {
      url.push_back('%');
      url.push_back(kHex[c >> 4]);
      url.push_back(kHex[c & 0xF]);
    }
  }
  return url;
}

}  // namespace cloud_dict

void UpdateServiceOperations::fetchCloudDict(
    const std::string& since, std::function<void(std::optional<CloudDict>)> completion) {
  const std::string endpoint = UpdateService::dictURL();
  if (!url_text::isUsableEndpoint(endpoint)) {
    finish(std::move(completion), std::nullopt);
    return;
  }

  HttpRequest request;
  request.url = cloud_dict::cloudDictRequestURL(endpoint, since);
  request.method = "GET";
  request.cachePolicy = CachePolicy::useProtocol;
  request.timeoutSeconds = service_ops::timeout(kCloudDictTimeout);

  service_ops::send(request, [completion = std::move(completion)](HttpResult result) mutable {
    if (const auto* error = std::get_if<HttpError>(&result)) {
      Logger::write("拉取云端词库失败：" + failureText(*error));
      finish(std::move(completion), std::nullopt);
      return;
    }
    cloud_dict::CloudDictAnswer answer =
        cloud_dict::readCloudDictAnswer(std::get<HttpResponse>(result).body);
    switch (answer.kind) {
      case cloud_dict::CloudDictAnswer::Kind::badFormat:
        finish(std::move(completion), std::nullopt);
        return;
      case cloud_dict::CloudDictAnswer::Kind::unchanged:
        Logger::write("云端词库无更新（版本 " + answer.dict.version + "）");
        finish(std::move(completion), std::nullopt);
        return;
      case cloud_dict::CloudDictAnswer::Kind::dictionary:
        finish(std::move(completion), std::move(answer.dict));
        return;
    }
  });
}

// The switch reads as on until it was first written; once written, only true is on.
bool UpdateServiceOperations::onlineDictEnabled() {
  const Settings* settings = ServiceClient::current().settings;
  if (settings == nullptr || !settings->contains(kOnlineDictEnabledKey)) return true;
  return settings->getBool(kOnlineDictEnabledKey).value_or(false);
}
void UpdateServiceOperations::setOnlineDictEnabled(bool value) {
  service_settings::setBool(kOnlineDictEnabledKey, value);
}
std::string UpdateServiceOperations::cloudDictVersion() {
  return service_settings::stringOr(kCloudDictVersionKey, "0");
}
void UpdateServiceOperations::setCloudDictVersion(const std::string& value) {
  service_settings::setString(kCloudDictVersionKey, value);
}

}  // namespace ornav
