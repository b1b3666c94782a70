#include "services/service_operation_support.h"

#include <atomic>
#include <chrono>
#include <mutex>

#include "ports/clock.h"
#include "ports/main_queue.h"
#include "ports/platform.h"

namespace ornav::service_ops {
namespace {

std::mutex& overrideMutex() {
  static std::mutex mutex;
  return mutex;
}

std::optional<double>& timeoutOverride() {
  static std::optional<double> value;
  return value;
}

}  // namespace

void postToMain(std::function<void()> work) {
  if (MainQueue* queue = platform().mainQueue) {
    queue->post(std::move(work));
  } else {
    work();  // a process without a main queue has only one thread to run it on
  }
}

double nowSeconds() {
  if (const Clock* clock = platform().clock) return clock->secondsSince1970();
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

double timeout(double seconds) {
  std::lock_guard lock(overrideMutex());
  return timeoutOverride().value_or(seconds);
}

void setTimeoutOverride(std::optional<double> seconds) {
  std::lock_guard lock(overrideMutex());
  timeoutOverride() = seconds;
}

HttpSession* http() {
  return platform().http;
}

void send(const HttpRequest& request, std::function<void(HttpResult)> completion) {
  if (HttpSession* session = http()) {
    session->dataTask(request, std::move(completion));
    return;
  }
  HttpError error{HttpError::Code::other, "网络服务不可用"};
  postToMain([completion = std::move(completion), error] { completion(error); });
}

}  // namespace ornav::service_ops
