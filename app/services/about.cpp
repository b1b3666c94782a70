// The about text: built in, and refreshed from the service when it answers.
#include "services/about.h"

#include "ornav_display_name.h"

#include "base/json_reading.h"
#include "base/url_text.h"
#include "ports/system_info.h"
#include "services/service_client.h"
#include "services/service_operation_support.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

constexpr double kAboutTimeout = 8;

void finish(std::function<void(std::optional<AboutContent>)> completion,
            std::optional<AboutContent> result) {
  service_ops::postToMain(
      [completion = std::move(completion), result = std::move(result)] { completion(result); });
}

}  // namespace

namespace about {

std::string_view uyghurDisplayName() {
  return displayName;
}

AboutContent builtIn(DesktopFamily desktop) {
  AboutContent content;
  content.title = "Tolvex输入法";
  const char* framework = desktop == DesktopFamily::linuxDesktop ? "IBus" : "InputMethodKit";
  content.description = std::string("基于 ") + framework + " 的 Tolvex输入法（" +
                        std::string(about::uyghurDisplayName()) +
                        "），\n支持联想输入与上下文预测。";
  content.copyright = "© 2026 Tolvex输入法";
  return content;
}

std::optional<AboutContent> readAboutAnswer(std::string_view body, const AboutContent& defaults) {
  std::optional<nlohmann::json> answer = json_reading::parseObject(body);
  if (!answer) return std::nullopt;
  AboutContent content;
  content.title = json_reading::stringOr(*answer, "title", defaults.title);
  content.description = json_reading::stringOr(*answer, "description", defaults.description);
  content.copyright = json_reading::stringOr(*answer, "copyright", defaults.copyright);
  return content;
}

}  // namespace about

AboutContent UpdateServiceOperations::defaultAbout() {
  const SystemInfo* system = ServiceClient::current().systemInfo;
  return about::builtIn(system != nullptr ? system->desktopFamily() : DesktopFamily::macOS);
}

void UpdateServiceOperations::fetchAboutContent(
    std::function<void(std::optional<AboutContent>)> completion) {
  const std::string url = UpdateService::aboutURL();
  if (!url_text::isUsableEndpoint(url)) {
    finish(std::move(completion), std::nullopt);
    return;
  }
  HttpRequest request;
  request.url = url;
  request.method = "GET";
  request.cachePolicy = CachePolicy::useProtocol;
  request.timeoutSeconds = service_ops::timeout(kAboutTimeout);

  service_ops::send(request, [completion = std::move(completion)](HttpResult result) mutable {
    if (std::holds_alternative<HttpError>(result)) {
      finish(std::move(completion), std::nullopt);
      return;
    }
    finish(std::move(completion),
           about::readAboutAnswer(std::get<HttpResponse>(result).body, defaultAbout()));
  });
}

}  // namespace ornav
