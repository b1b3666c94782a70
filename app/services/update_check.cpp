// The update check: which version the service offers, whether it is newer than the running one,
// and the settings that let the input menu mark its update item while a newer one is known.
#include "services/update_check.h"
#include "services/http_failure.h"

#include "base/json_reading.h"
#include "base/url_text.h"
#include "diagnostics/logger.h"
#include "services/service_operation_support.h"
#include "services/service_settings.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

const std::string kUpdateAvailableKey = "Ornavel.updateAvailable";
const std::string kLatestVersionKey = "Ornavel.latestVersion";
const std::string kLatestDownloadURLKey = "Ornavel.latestDownloadURL";
const std::string kLatestNotesKey = "Ornavel.latestNotes";
const std::string kLastUpdateCheckKey = "Ornavel.lastUpdateCheck";

constexpr double kUpdateCheckTimeout = 10;

void finish(std::function<void(UpdateResult)> completion, UpdateResult result) {
  service_ops::postToMain(
      [completion = std::move(completion), result = std::move(result)] { completion(result); });
}

// The well-formed answer decides; the settings are written before the caller hears of it.
UpdateResult recordAnswer(const UpdateInfo& info) {
  if (!UpdateService::isNewer(info.version, UpdateService::currentVersion())) {
    UpdateServiceOperations::setUpdateAvailable(false);
    return UpdateResult::upToDate();
  }
  UpdateServiceOperations::setUpdateAvailable(true);
  UpdateServiceOperations::setLatestVersion(info.version);
  UpdateServiceOperations::setLatestDownloadURL(info.preferredDownloadURL());
  UpdateServiceOperations::setLatestNotes(info.notes);
  return UpdateResult::available(info);
}

}  // namespace

namespace update_check {

std::optional<UpdateInfo> readUpdateAnswer(std::string_view body) {
  std::optional<nlohmann::json> answer = json_reading::parseObject(body);
  if (!answer) return std::nullopt;
  std::optional<std::string> version = json_reading::string(*answer, "version");
  if (!version) return std::nullopt;

  const std::string baseLink =
      UpdateService::normalizedDownloadURLString(json_reading::stringOr(*answer, "url", ""));
  UpdateInfo info;
  info.version = *version;
  info.directDownloadURL = UpdateService::normalizedDownloadURLString(
      json_reading::stringOr(*answer, "directURL", baseLink));
  info.fallbackURL = UpdateService::normalizedDownloadURLString(
      json_reading::stringOr(*answer, "fallbackURL", baseLink));
  info.notes = json_reading::stringOr(*answer, "notes", "");
  info.sha256 = json_reading::stringOr(*answer, "sha256", "");
  info.fileSizeMB = json_reading::number(*answer, "fileSizeMB");
  return info;
}

}  // namespace update_check

void UpdateServiceOperations::checkForUpdates(std::function<void(UpdateResult)> completion) {
  const std::string url = UpdateService::updateCheckURL();
  if (!url_text::isUsableEndpoint(url)) {
    Logger::write("检测更新：服务器地址未配置");
    finish(std::move(completion), UpdateResult::failed("更新服务尚未配置"));
    return;
  }

  HttpRequest request;
  request.url = url;
  request.method = "GET";
  request.headers = {{"Cache-Control", "no-cache"}, {"Pragma", "no-cache"}};
  request.cachePolicy = CachePolicy::reloadIgnoringLocalCache;
  request.timeoutSeconds = service_ops::timeout(kUpdateCheckTimeout);

  service_ops::send(request, [completion = std::move(completion)](HttpResult result) mutable {
    if (const auto* error = std::get_if<HttpError>(&result)) {
      Logger::write("检测更新失败：" + failureText(*error));
      finish(std::move(completion), UpdateResult::failed(failureText(*error)));
      return;
    }
    std::optional<UpdateInfo> info =
        update_check::readUpdateAnswer(std::get<HttpResponse>(result).body);
    if (!info) {
      finish(std::move(completion), UpdateResult::failed("返回数据格式错误"));
      return;
    }
    finish(std::move(completion), recordAnswer(*info));
  });
}

void UpdateServiceOperations::silentCheckIfDue() {
  const double now = service_ops::nowSeconds();
  if (now - lastCheckTime() < silentCheckInterval) return;
  setLastCheckTime(now);
  checkForUpdates([](UpdateResult) {});
}

bool UpdateServiceOperations::updateAvailable() {
  return service_settings::boolOr(kUpdateAvailableKey, false);
}
void UpdateServiceOperations::setUpdateAvailable(bool value) {
  service_settings::setBool(kUpdateAvailableKey, value);
}
std::string UpdateServiceOperations::latestVersion() {
  return service_settings::stringOr(kLatestVersionKey, "");
}
void UpdateServiceOperations::setLatestVersion(const std::string& value) {
  service_settings::setString(kLatestVersionKey, value);
}
std::string UpdateServiceOperations::latestDownloadURL() {
  return service_settings::stringOr(kLatestDownloadURLKey, "");
}
void UpdateServiceOperations::setLatestDownloadURL(const std::string& value) {
  service_settings::setString(kLatestDownloadURLKey, value);
}
std::string UpdateServiceOperations::latestNotes() {
  return service_settings::stringOr(kLatestNotesKey, "");
}
void UpdateServiceOperations::setLatestNotes(const std::string& value) {
  service_settings::setString(kLatestNotesKey, value);
}
double UpdateServiceOperations::lastCheckTime() {
  return service_settings::doubleOr(kLastUpdateCheckKey, 0);
}
void UpdateServiceOperations::setLastCheckTime(double secondsSince1970) {
  service_settings::setDouble(kLastUpdateCheckKey, secondsSince1970);
}

}  // namespace ornav
