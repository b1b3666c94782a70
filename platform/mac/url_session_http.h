// HTTP(S) data tasks on macOS over NSURLSession. The tasks run on one session with a delegate
// (the default configuration: the system's shared cookie, credential and cache stores, as the
// shared session uses), because only a delegate can refuse a redirect from https to plain http
// and stop a body at its limit while it arrives; per-task delegates need a newer macOS than the
// one the application supports. Completions are posted to the main queue, exactly once each.
#pragma once

#include <functional>
#include <memory>

#include "ports/http_session.h"

namespace ornav::mac_platform {

class UrlSessionHttp final : public HttpSession {
 public:
  UrlSessionHttp();
  // Cancels the tasks still running; their completions report "cancelled".
  ~UrlSessionHttp() override;
  UrlSessionHttp(const UrlSessionHttp&) = delete;
  UrlSessionHttp& operator=(const UrlSessionHttp&) = delete;

  void dataTask(const HttpRequest& request, std::function<void(HttpResult)> completion) override;

 private:
  struct Session;
  std::unique_ptr<Session> session_;
};

}  // namespace ornav::mac_platform
