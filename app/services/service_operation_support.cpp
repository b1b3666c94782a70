#include "services/service_operation_support.h"

#include <chrono>

#include "ports/clock.h"
#include "ports/main_queue.h"
#include "services/service_client.h"

namespace ornav::service_ops {

void postToMain(std::function<void()> work) {
  if (MainQueue* queue = ServiceClient::current().mainQueue) {
    queue->post(std::move(work));
  } else {
    work();  // a process without a main queue has only one thread to run it on
  }
}

double nowSeconds() {
  if (const Clock* clock = ServiceClient::current().clock) return clock->secondsSince1970();
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

double timeout(double seconds) {
  return ServiceClient::current().timeoutSeconds.value_or(seconds);
}

HttpSession* http() {
  return ServiceClient::current().http;
}

void send(const HttpRequest& request, std::function<void(HttpResult)> completion) {
  if (HttpSession* session = http()) {
    session->dataTask(request, std::move(completion));
    return;
  }
  HttpError error{.code = HttpError::Code::other, .url = request.url, .detail = "网络服务不可用"};
  postToMain([completion = std::move(completion), error] { completion(error); });
}

}  // namespace ornav::service_ops
