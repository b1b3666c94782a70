// The user dictionary upload: with the user's consent, at most every half hour unless forced, the
// growth of every word's count since the last upload the service accepted.
#include "base/json_reading.h"
#include "base/url_text.h"
#include "diagnostics/logger.h"
#include "services/http_failure.h"
#include "services/service_client.h"
#include "services/service_operation_support.h"
#include "services/service_settings.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"
#include "services/user_dict_payload.h"

namespace ornav {
namespace {

const std::string kUploadConsentKey = "Ornavel.uploadConsent";
const std::string kLastUploadAtKey = "Ornavel.userDictLastUploadAt";
const std::string kUploadedCountsKey = "Ornavel.userDictUploadedCounts";
constexpr double kUploadTimeout = 15;

void finish(std::function<void(bool)> completion, bool result) {
  service_ops::postToMain([completion = std::move(completion), result] { completion(result); });
}

UserDictCounts storedSnapshot() {
  std::optional<SettingsData> data = service_settings::data(kUploadedCountsKey);
  if (!data) return {};
  return parseUploadedSnapshot(
      std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
}

// Called only for an upload the service accepted: until then the old snapshot and time stay, so
// the same growth is offered again next time.
void storeAcceptedUpload(const UserDictCounts& snapshot) {
  const std::string json = serializeUploadedSnapshot(snapshot);
  service_settings::setData(kUploadedCountsKey, SettingsData(json.begin(), json.end()));
  service_settings::setDouble(kLastUploadAtKey, service_ops::nowSeconds());
}

}  // namespace

void UpdateServiceOperations::uploadUserDict(const std::string& tsv, bool force,
                                             std::function<void(bool)> completion) {
  if (!uploadConsent()) {
    finish(std::move(completion), false);
    return;
  }
  if (!force && !shouldUploadUserDict()) {
    finish(std::move(completion), true);
    return;
  }
  std::optional<UserDictUploadPayload> payload =
      buildUserDictUploadPayload(tsv, force, storedSnapshot());
  if (!payload) {
    finish(std::move(completion), true);
    return;
  }
  const std::string url = UpdateService::userDictURL();
  if (!url_text::isUsableEndpoint(url)) {
    finish(std::move(completion), false);
    return;
  }

  HttpRequest request;
  request.url = url;
  request.method = "POST";
  request.headers = {{"Content-Type", "application/json"}};
  request.body = userDictUploadBody(UpdateService::deviceID(), payload->entries);
  request.cachePolicy = CachePolicy::useProtocol;
  request.timeoutSeconds = service_ops::timeout(kUploadTimeout);

  service_ops::send(request, [completion = std::move(completion),
                              snapshot = std::move(payload->snapshot)](HttpResult result) mutable {
    if (const auto* error = std::get_if<HttpError>(&result)) {
      Logger::write("上传用户词库失败：" + failureText(*error));
      finish(std::move(completion), false);
      return;
    }
    std::optional<nlohmann::json> answer =
        json_reading::parseObject(std::get<HttpResponse>(result).body);
    if (!answer || !json_reading::isTrue(*answer, "ok")) {
      finish(std::move(completion), false);
      return;
    }
    storeAcceptedUpload(snapshot);
    finish(std::move(completion), true);
  });
}

bool UpdateServiceOperations::shouldUploadUserDict() {
  return shouldUploadUserDict(std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(
          std::chrono::duration<double>(service_ops::nowSeconds()))));
}

bool UpdateServiceOperations::shouldUploadUserDict(std::chrono::system_clock::time_point now) {
  if (!uploadConsent()) return false;
  const double last = service_settings::doubleOr(kLastUploadAtKey, 0);
  if (last <= 0) return true;
  const double nowSeconds = std::chrono::duration<double>(now.time_since_epoch()).count();
  return nowSeconds - last >= userDictUploadInterval;
}

// Only a stored true is consent: nothing the user typed leaves the machine before they agreed in
// the consent alert, which is what that alert promises.
bool UpdateServiceOperations::uploadConsent() {
  return service_settings::boolOr(kUploadConsentKey, false);
}
void UpdateServiceOperations::setUploadConsent(bool value) {
  service_settings::setBool(kUploadConsentKey, value);
}

}  // namespace ornav
